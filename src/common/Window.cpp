#include "common/Window.h"

#include "common/Files.h"
#include "common/SkinFramework.h"
#include "platform/RuntimeError.h"
#include "platform/os/ProgramFolder.h"
#include "platform/ui/Boxes.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <QtEndian>

QFont ArialFont(double points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QPushButton* AddDialogButton(QWidget& dialog, QBoxLayout& row, const char* name,
                             const QString& caption)
{
    auto* button = new QPushButton(caption, &dialog);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(QString(caption).remove('&'));
    button->setFont(ArialFont(11.25, true));
    row.addWidget(button);
    return button;
}

namespace {

const QString kProductName = QStringLiteral("Tarnwick");
constexpr int kLongestTitle = 40;

void PaintButtonFace(QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// The hot spot of the first picture of a cursor file: a cursor directory keeps it in the
// entry where an icon keeps its planes and bit count.
QPoint CursorHotSpot(const QByteArray& file)
{
    constexpr int kDirectorySize = 6;
    constexpr int kHotSpotInEntry = 4;
    constexpr quint16 kCursorType = 2;
    if (file.size() < kDirectorySize + kHotSpotInEntry + 4 ||
        qFromLittleEndian<quint16>(file.constData() + 2) != kCursorType)
        return QPoint(0, 0);
    const char* entry = file.constData() + kDirectorySize;
    return QPoint(qFromLittleEndian<quint16>(entry + kHotSpotInEntry),
                  qFromLittleEndian<quint16>(entry + kHotSpotInEntry + 2));
}

} // namespace

QString AppTitleFromProductName(const QString& productName)
{
    QString title = productName;
    // At least one cut; a text without a blank cannot be cut and stays whole.
    do {
        const int blank = title.lastIndexOf(' ');
        if (blank < 0)
            break;
        title.truncate(blank);
    } while (title.size() > kLongestTitle);
    return title;
}

void SetAppTitle()
{
    SetAppTitleText(AppTitleFromProductName(kProductName));
}

void ColorForm(QWidget& window)
{
    PaintButtonFace(window);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(child) || qobject_cast<QRadioButton*>(child) ||
            qobject_cast<QCheckBox*>(child) || qobject_cast<QGroupBox*>(child))
            PaintButtonFace(*child);
    }
}

void SkinMainWindow(QWidget& mainWindow)
{
    const QString skinFile = ProgramFolder() + "/x/o.cjs";
    if (!FileExists(skinFile))
        return;
    ColorForm(mainWindow);
    SkinFramework skin;
    skin.LoadSkin(skinFile, QString());
    skin.SetOptions(skin.Options() | SkinFramework::SkinEnabled);
    skin.SetApplyColors(true);
    skin.SetApplyMetrics(true);
    skin.ApplyWindow(mainWindow);
}

std::optional<QCursor> LoadHandPointer()
{
    const QString path = ProgramFolder() + "/HAND-M.CUR";
    if (!FileExists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(QStringLiteral("Cannot open ") + path + ": " + file.errorString());
    const QByteArray bytes = file.readAll();
    // Qt's icon reader reads cursor files as well; it is told the kind, since the file name
    // ends in .CUR, which it does not know in capitals.
    QImage picture = QImage::fromData(bytes, "ico");
    if (picture.isNull())
        throw RuntimeError(QStringLiteral("Invalid picture: ") + path, 481);
    const QPoint hotSpot = CursorHotSpot(bytes);
    return QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y());
}
