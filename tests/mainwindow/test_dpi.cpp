#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"
#include "records/Form2.h"
#include "records/Form3.h"
#include "records/RecordFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionHeader>

// Reaches the header's protected option set-up, which gives the caption as it is painted.
struct HeaderPeek : QHeaderView
{
    using QHeaderView::initStyleOptionForIndex;
};

// Every window at a high-DPI scale: each caption fits its control, and the window keeps its
// size in logical pixels, so the layout scales as one. Each scale runs in a child process,
// because Qt reads the scale factor once, when the application starts.
class TestDpi : public QObject
{
    Q_OBJECT
    QStringList m_sizes;

    void CheckFits(QWidget* window, const char* name)
    {
        m_sizes << QString("%1 %2x%3").arg(name).arg(window->width()).arg(window->height());
        // A dialog keeps its designed size: no edge to drag, no maximise box.
        if (qobject_cast<QDialog*>(window))
            QVERIFY2(window->minimumSize() == window->size() &&
                         window->maximumSize() == window->size() &&
                         !window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint),
                     name);
        int checked = 0;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            QString text;
            int room = w->contentsRect().width();
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
                text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                text = button->text();
                const auto* style = button->style();
                if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
                    room -= style->pixelMetric(QStyle::PM_IndicatorWidth) +
                            style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
                else // the frame may overlap the text's side bearings
                    room += 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
            }
            if (text.isEmpty() || !w->isVisibleTo(window))
                continue;
            const QSize need = w->fontMetrics().size(Qt::TextShowMnemonic, text);
            const QString what = QString("%1.%2 \"%3\" needs %4x%5, has %6x%7")
                                     .arg(name, w->objectName(), text)
                                     .arg(need.width())
                                     .arg(need.height())
                                     .arg(room)
                                     .arg(w->contentsRect().height());
            QVERIFY2(need.width() <= room, qPrintable(what));
            QVERIFY2(need.height() <= w->contentsRect().height(), qPrintable(what));
            ++checked;
        }
        QVERIFY2(checked >= 2, name);
    }

    // A caption wider than its column is painted shortened with "…", never cut mid-letter, and
    // its tooltip gives it whole.
    static void CheckHeaders(QWidget* window)
    {
        for (QHeaderView* header : window->findChildren<QHeaderView*>()) {
            const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin);
            for (int i = 0; i < header->count(); ++i) {
                if (header->sectionSize(i) == 0) // a key column kept out of sight
                    continue;
                QStyleOptionHeader option;
                option.initFrom(header);
                (header->*&HeaderPeek::initStyleOptionForIndex)(&option, i);
                const QString caption = header->model()->headerData(i, Qt::Horizontal).toString();
                QCOMPARE(header->model()->headerData(i, Qt::Horizontal, Qt::ToolTipRole).toString(),
                         caption);
                const QString what =
                    QString("column %1 painted as \"%2\"").arg(caption, option.text);
                QVERIFY2(option.fontMetrics.horizontalAdvance(option.text) <=
                             header->sectionSize(i) - 2 * margin,
                         qPrintable(what));
                QVERIFY2(option.text == caption || (option.text.endsWith(QChar(0x2026)) &&
                                                    caption.startsWith(option.text.chopped(1))),
                         qPrintable(what));
            }
        }
    }

private slots:
    void windowsFitTheirText()
    {
        EditorCase c;
        const QString asset = AddAsset(AssetRow(c.ids));
        auto main = StartMainWindow();
        CheckFits(main.get(), "main");
        CheckHeaders(main.get());
        auto editor = OpenEditor(asset);
        CheckFits(editor.get(), "editor");
        CheckHeaders(editor.get());
        CheckFits(OpenDialog<Form2>("", "Add New Maintenance", asset).get(), "maintenance");
        CheckFits(OpenDialog<Form3>("", "Add Depreciation", asset).get(), "depreciation");
        QFile out(qEnvironmentVariable("TARNWICK_DPI_SIZES"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(m_sizes.join('\n').toUtf8());
    }

    // The report's preview fits the screen it opens on, draws its page in the screen's own
    // pixels, and offers to export it under a name that says what it is and when.
    void reportPreviewFitsSharpAndNamesItsExport()
    {
        EditorCase c;
        auto main = StartMainWindow();
        QRect room, shown;
        double pageRatio = 0, windowRatio = 1;
        QString proposed;
        ModalRecorder previews([&](QWidget& preview) {
            room = preview.screen()->availableGeometry();
            shown = preview.frameGeometry();
            windowRatio = preview.devicePixelRatioF();
            pageRatio = preview.findChild<QLabel*>("PageView")->pixmap().devicePixelRatio();
            WhenShown<QFileDialog>([&](QFileDialog& dialog) {
                proposed = QFileInfo(dialog.selectedFiles().value(0)).fileName();
                dialog.reject();
            });
            static_cast<QAbstractButton*>(preview.findChild<QWidget*>("ExportPdf"))->click();
        });
        Click(*main, "PushButton7");
        QCOMPARE(previews.shown, 1);
        QVERIFY2(room.contains(shown),
                 qPrintable(QString("%1x%2").arg(shown.width()).arg(shown.height())));
        QCOMPARE(pageRatio, windowRatio);
        QCOMPARE(proposed, QString("Assets 2026-12-07.pdf"));
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("TARNWICK_DPI_SIZES")) {
        QApplication app(argc, argv);
        TestDpi test;
        return QTest::qExec(&test, argc, argv);
    }
    QTemporaryDir dir;
    QByteArray sizes[3];
    const char* scales[3] = {"1", "1.5", "2"};
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", scales[i]);
        env.insert("TARNWICK_DPI_SIZES", dir.filePath(scales[i]));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QString::fromLocal8Bit(argv[0]), {});
        QFile file(dir.filePath(scales[i]));
        if (!child.waitForFinished(60000) || child.exitCode() != 0 || !file.open(QFile::ReadOnly))
            return qCritical("the checks at scale %s failed", scales[i]), 1;
        sizes[i] = file.readAll();
        if (sizes[i] != sizes[0])
            return qCritical("window sizes at scale %s:\n%s\ndiffer from scale 1:\n%s", scales[i],
                             sizes[i].constData(), sizes[0].constData()),
                   1;
    }
    return 0;
}
#include "test_dpi.moc"
