#include "records/RecordDialog.h"

#include "common/ErrorTrap.h"
#include "common/ProgramIcon.h"
#include "common/Window.h"
#include "data/AllOrNothing.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/os/Clock.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/Twips.h"
#include "platform/value/Variant.h"

#include <QDateEdit>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString RecordLocation(const char* form, const char* procedure)
{
    return QStringLiteral("in Tarnwick2021/08/31.%1.%2 ")
        .arg(QLatin1String(form), QLatin1String(procedure));
}

void SetUpRecordWindow(QDialog& dialog, double widthTwips, double heightTwips)
{
    dialog.setFont(ArialFont(9, true));
    SetClientSizeTwips(dialog, widthTwips, heightTwips);
}

void AddCaption(QDialog& dialog, const QString& caption, QWidget& control, double widthTwips)
{
    auto* label = new QLabel(caption, &dialog);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAccessibleName(caption);
    label->setBuddy(&control);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QRect at = control.geometry();
    SetTwipsGeometry(*label, 120, PixelsToTwips(at.top()), widthTwips, PixelsToTwips(at.height()));
    control.setAccessibleName(caption);
}

QDateEdit* AddDatePicker(QDialog& dialog, const TwipsRect& r)
{
    auto* picker = new DatePicker(&dialog);
    picker->setObjectName(QStringLiteral("dtpDate"));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(ShortDateFormat());
    // Its own minimum, 14 September 1752, would show an older stored date as that day.
    picker->setMinimumDate(QDate(100, 1, 1));
    SetTwipsGeometry(*picker, r.left, r.top, r.width, r.height);
    return picker;
}

QLineEdit* AddTextBox(QDialog& dialog, const char* name, const TwipsRect& r)
{
    auto* box = new QLineEdit(&dialog);
    box->setObjectName(QLatin1String(name));
    SetTwipsGeometry(*box, r.left, r.top, r.width, r.height);
    return box;
}

QPushButton* AddRecordButton(QDialog& dialog, const char* name, const QString& caption,
                             const TwipsRect& r)
{
    auto* button = new QPushButton(caption, &dialog);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    button->setFont(ArialFont(11.25, true));
    button->setAutoDefault(false);
    SetTwipsGeometry(*button, r.left, r.top, r.width, r.height);
    return button;
}

void LoadRecordWindow(const QString& location, QDialog& dialog, PointerRule& pointer,
                      QDateEdit& date, bool edit, const std::function<void()>& loadData)
{
    ErrorTrap trap(location);
    trap(100, [&] { ColorForm(dialog); });
    trap(102, [&] { dialog.setWindowIcon(ProgramIcon()); });
    trap(104, [&] { pointer.SetMouseIcon(LoadHandPointer()); });
    trap(106, [&] { date.setDate(Today()); });
    trap(108, [&] {
        if (edit)
            loadData();
    });
}

QDate StoredDate(const Variant& value)
{
    if (value.type() == Variant::Type::Date)
        return value.dateDay();
    return CDate(CStr(value)).value.date();
}

bool RequireText(QLineEdit& box, const QString& message)
{
    if (!box.text().isEmpty())
        return true;
    MsgBox(message);
    box.setFocus();
    return false;
}

bool RequireNumber(QLineEdit& box, const QString& message)
{
    if (IsNumeric(box.text()))
        return true;
    MsgBox(message);
    box.setFocus();
    return false;
}

QString AmountLiteral(const QLineEdit& box)
{
    return NumberLiteral(CCur(box.text()));
}

void SaveRecord(const QString& location, QDialog& dialog, const QString& assetId,
                const std::function<QString()>& statementText)
{
    ErrorTrap trap(location);
    QString sql;
    if (!trap(100, [&] { sql = statementText(); }))
        return;
    // The asset is looked for, and locked, in the same transaction as the entry is written,
    // so that another copy of the program cannot delete it in between.
    bool assetGone = false;
    if (!trap(102, [&] {
            AllOrNothing([&](Connection& connection) {
                Recordset asset;
                asset.Open("select AssetID from Assets where AssetID=" + IdLiteral(assetId) +
                               " for update",
                           connection, Recordset::adOpenStatic, Recordset::adLockReadOnly);
                assetGone = asset.Eof();
                if (!assetGone)
                    connection.Execute(sql);
            });
        }))
        return;
    if (assetGone) {
        MsgBox("The asset of this entry no longer exists: it was deleted, perhaps in another "
               "copy of the program. Nothing was saved; close this window with Cancel.");
        return;
    }
    trap(104, [&] { dialog.accept(); });
}

void CancelRecord(const QString& location, QDialog& dialog)
{
    ErrorTrap trap(location);
    trap(100, [&] { dialog.reject(); });
}
