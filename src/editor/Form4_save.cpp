#include "editor/Form4.h"

#include "common/ErrorTrap.h"
#include "data/AllOrNothing.h"
#include "data/AssetCheck.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "editor/Location.h"
#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "platform/ui/Boxes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// A money box's text without its "$" sign (the minus sign or parentheses and the thousands
// separators stay); "0" when empty.
QString MoneyText(const QLineEdit& box)
{
    const QString text = box.text();
    return text.isEmpty() ? QStringLiteral("0") : QString(text).remove('$').trimmed();
}

// The depreciable life as the locale reads it, so that the "2,5" a decimal-comma locale shows
// is saved as 2.5 again; text that is no number counts 0, as the number fallback makes it.
QString LifeLiteral(const QLineEdit& box)
{
    return NumberLiteral(IsNumeric(box.text()) ? CCur(box.text()).ToDouble() : 0.0);
}

} // namespace

long long Form4::SelectedId(const QComboBox& list, const QList<long long>& ids)
{
    if (ids.isEmpty() || list.currentIndex() < 0)
        throw RuntimeError("Subscript out of range: the list has no id for its selection");
    return ids[std::min<qsizetype>(list.currentIndex(), ids.size() - 1)];
}

bool Form4::CheckBeforeSave()
{
    if (!ApplyEntryRules())
        return false;
    if (!m_AddNew && !HasAssetRow()) {
        MsgBox("Please add new record first.");
        return false;
    }

    const std::pair<QComboBox*, const char*> selections[] = {
        {cboEmployees, "You forgot to select employee."},
        {cboVendors, "You forgot to select vendor."},
        {cboCategories, "You forgot to select asset category."},
        {cboStatus, "You forgot to select status."},
        {cboDepartment, "You forgot to select department."},
    };
    for (const auto& [list, message] : selections) {
        if (list->currentIndex() < 0) {
            MsgBox(message);
            list->setFocus();
            return false;
        }
    }

    const struct
    {
        QWidget* box;
        QString text;
        const char* message;
        int page; // the tab page that holds the box; -1 for the main area
    } texts[] = {
        {txtDescription, txtDescription->toPlainText(), "You forgot to input description.", -1},
        {txtModelNo, txtModelNo->text(), "You forgot to input Model Number.", -1},
        {txtSerialNo, txtSerialNo->text(), "You forgot to input Serial Number.", -1},
        {txtBarcodeNo, txtBarcodeNo->text(), "You forgot to input Barcode Number.", -1},
        {txtDeprMethod, txtDeprMethod->text(), "You forgot to input Depreciation Method.", 1},
        {txtComments, txtComments->toPlainText(), "You forgot to input Comments.", 2},
    };
    for (const auto& t : texts) {
        if (t.text.isEmpty()) {
            MsgBox(t.message);
            if (t.page >= 0)
                SSTab1->setCurrentIndex(t.page);
            t.box->setFocus();
            return false;
        }
    }
    return true;
}

QString Form4::SaveStatement() const
{
    // A box left as SetData showed it writes its own column, so its stored value stays as
    // it is; a new asset has no stored values, and every box writes what it holds.
    auto box = [&](const QWidget& control, const char* column,
                   const std::function<QString()>& literal) {
        return m_shown.ColumnOrLiteral(control, column, literal);
    };
    auto money = [&](const QLineEdit& control, const char* column) {
        return box(control, column, [&] { return MoneyLiteral(MoneyText(control)); });
    };
    auto text = [&](const QWidget& control, const char* column, const QString& typed) {
        return box(control, column, [&] { return TextLiteral(typed); });
    };
    auto date = [&](const QLineEdit& control, const char* column) {
        return box(control, column, [&] { return DateLiteralOrNull(control.text()); });
    };
    const QString purchase = money(*txtPurchasePrice, "PurchasePrice");
    const QString current = money(*txtCurrentValue, "CurrentValue");
    const QString salvage = money(*txtSalvageValue, "SalvageValue");
    const QString vendor = IdLiteral(SelectedId(*cboVendors, m_VendorIDs));
    const QString employee = IdLiteral(SelectedId(*cboEmployees, m_EmployeeIDs));
    const QString category = IdLiteral(SelectedId(*cboCategories, m_CategoryIDs));
    const QString status = IdLiteral(SelectedId(*cboStatus, m_StatusIDs));
    const QString department = IdLiteral(SelectedId(*cboDepartment, m_DepartmentIDs));
    const QString description =
        text(*txtDescription, "AssetDescription", txtDescription->toPlainText());
    const QString model = text(*txtModelNo, "ModelNumber", txtModelNo->text());
    const QString serial = text(*txtSerialNo, "SerialNumber", txtSerialNo->text());
    const QString barcode = text(*txtBarcodeNo, "BarcodeNumber", txtBarcodeNo->text());
    const QString acquired = date(*txtDateAcquired, "DateAcquired");
    const QString sold = date(*txtDateSold, "DateSold");
    const QString method = text(*txtDeprMethod, "DepreciationMethod", txtDeprMethod->text());
    const QString life = box(*txtDepreciableLife, "DepreciableLife",
                             [&] { return LifeLiteral(*txtDepreciableLife); });
    const QString comments = text(*txtComments, "Comments", txtComments->toPlainText());
    const QString next = date(*txtNextSchedMaint, "NextSchedMaint");

    if (m_AddNew) {
        return "insert into Assets (AssetDescription,EmployeeID,AssetCategoryID,StatusID,"
               "DepartmentID,VendorID,ModelNumber,SerialNumber,BarcodeNumber,DateAcquired,"
               "DateSold,PurchasePrice,DepreciationMethod,DepreciableLife,SalvageValue,"
               "CurrentValue,Comments,NextSchedMaint) values (" +
               QStringList{description, employee, category, status,   department, vendor,
                           model,       serial,   barcode,  acquired, sold}
                   .join(',') +
               ", " +
               QStringList{purchase, method, life, salvage, current, comments, next}.join(',') +
               ")";
    }
    return "update Assets set AssetDescription=" + description + ",EmployeeID=" + employee +
           ",AssetCategoryID=" + category + ",StatusID=" + status + ",DepartmentID=" + department +
           ",VendorID=" + vendor + ",ModelNumber=" + model + ",SerialNumber=" + serial +
           ",BarcodeNumber=" + barcode + ",DateAcquired=" + acquired + ",DateSold=" + sold +
           ",PurchasePrice=" + purchase + ",DepreciationMethod=" + method +
           ",DepreciableLife=" + life + ",SalvageValue=" + salvage + ",CurrentValue=" + current +
           ",Comments=" + comments + ",NextSchedMaint=" + next +
           " where AssetID=" + IdLiteral(m_AssetID);
}

// Save Data: checks the form, inserts or updates the asset, and closes the editor once the
// database has taken the statement.
void Form4::PushButton1_Click()
{
    ErrorTrap trap(Form4Location("PushButton1_Click"));
    bool ready = false;
    trap(100, [&] { ready = CheckBeforeSave(); });
    if (!ready)
        return;
    QString sql;
    if (!trap(102, [&] { sql = SaveStatement(); }))
        return;
    // A refused statement keeps the editor open with everything the user typed. An update
    // first makes sure that nobody changed or deleted the asset since the editor read it;
    // the check and the update are one transaction, so no other save comes between them.
    long long saved = 0;
    RowChange change = RowChange::None;
    if (!trap(104, [&] {
            AllOrNothing([&](Connection& connection) {
                if (!m_AddNew)
                    change = AssetChangeSince(connection, m_AssetID, SnapshotOf(*m_rsAsset));
                if (change == RowChange::None)
                    saved = connection.Execute(sql);
            });
        }))
        return;
    // Reading the asset again would show their values over what the user typed.
    if (change == RowChange::Changed) {
        MsgBox("Someone else changed this asset after you opened it. Your changes were not "
               "saved. Cancel and open it again to see theirs.",
               BoxButtons::OK, BoxIcon::Exclamation);
        return;
    }
    trap(106, [&] {
        if (!m_AssetID.isEmpty())
            ListData();
    });
    // An update that found no asset saved nothing: another copy of the program deleted it.
    // The editor stays open with what the user typed.
    if (!m_AddNew && saved == 0) {
        MsgBox("Please add new record first.");
        return;
    }
    trap(108, [&] { accept(); });
}

// Cancel: closes the editor without saving.
void Form4::PushButton2_Click()
{
    ErrorTrap trap(Form4Location("PushButton2_Click"));
    trap(100, [&] { reject(); });
}
