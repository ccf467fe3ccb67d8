#include "editor/Form4.h"

#include "common/ErrorTrap.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "editor/Location.h"
#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "platform/ui/ListView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// The value's own amount, 0 for null; read from the value, never from its text form, whose
// decimal separator follows the locale.
Currency MoneyOf(const Variant& value)
{
    return value.isNull() || value.isEmpty() ? Currency() : CCur(value);
}

double NumberOf(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return 0;
    case Variant::Type::Long:
        return static_cast<double>(value.longValue());
    case Variant::Type::Double:
        return value.doubleValue();
    default:
        return CCur(value).ToDouble();
    }
}

// Selects the entry of the stored key when it shows the stored text, else the first entry
// whose text equals the value; none when no entry matches. A null value is an error, and the
// list is left without a selection.
void SelectStored(QComboBox& list, const QList<long long>& ids, const Variant& value,
                  std::optional<long long> key)
{
    list.setCurrentIndex(-1);
    const QString text = CStr(value);
    const int byKey = key ? int(ids.indexOf(*key)) : -1;
    list.setCurrentIndex(byKey >= 0 && list.itemText(byKey) == text ? byKey : list.findText(text));
}

} // namespace

void Form4::ListData()
{
    ErrorTrap trap(Form4Location("ListData"));
    m_shown.Clear();
    m_storedKeys.clear();
    trap(100, [&] { m_rsAsset = std::make_unique<Recordset>(); });
    const bool opened = trap(102, [&] {
        m_rsAsset->Open("select * from qryAssets where AssetID=" + IdLiteral(m_AssetID), *g_Conn,
                        Recordset::adOpenStatic, Recordset::adLockReadOnly);
    });
    if (opened && HasAssetRow()) {
        trap(104, [&] { ReadStoredKeys(); });
        trap(106, [&] {
            m_rsAsset->MoveFirst();
            SetData();
        });
    } else {
        trap(108, [&] { ShowNoHistory(); });
    }
    trap(110, [&] { EnablePaneCommands(); });
}

void Form4::ReadStoredKeys()
{
    Recordset rs;
    const QStringList columns{"EmployeeID", "VendorID", "AssetCategoryID", "StatusID",
                              "DepartmentID"};
    rs.Open("select " + columns.join(',') + " from Assets where AssetID=" + IdLiteral(m_AssetID),
            *g_Conn, Recordset::adOpenStatic, Recordset::adLockReadOnly);
    for (const QString& column : columns) {
        const Variant key = rs.Eof() ? Variant() : rs.Fields(column).Value;
        if (key.type() == Variant::Type::Long)
            m_storedKeys.insert(column, key.longValue());
    }
    rs.Close();
}

void Form4::SetData()
{
    if (!HasAssetRow())
        return;
    ErrorTrap trap(Form4Location("SetData"));
    const Recordset& rs = *m_rsAsset;
    auto value = [&](const char* column) { return rs.Fields(column).Value; };
    auto text = [&](const char* column) { return [&, column] { return TextOf(value(column)); }; };
    auto money = [&](const char* column) {
        return [&, column] { return FormatMoney(MoneyOf(value(column))); };
    };
    auto select = [&](QComboBox& list, const QList<long long>& ids, const char* column,
                      const char* keyColumn) {
        const auto key = m_storedKeys.constFind(keyColumn);
        SelectStored(list, ids, value(column),
                     key == m_storedKeys.constEnd() ? std::nullopt : std::optional(*key));
    };

    trap(100, [&] { m_AssetID = CStr(value("AssetID")); });
    trap(102, [&] { select(*cboEmployees, m_EmployeeIDs, "Employee", "EmployeeID"); });
    trap(104, [&] { select(*cboVendors, m_VendorIDs, "VendorName", "VendorID"); });
    trap(106, [&] { select(*cboCategories, m_CategoryIDs, "AssetCategory", "AssetCategoryID"); });
    trap(108, [&] { select(*cboStatus, m_StatusIDs, "Status", "StatusID"); });
    trap(110, [&] { select(*cboDepartment, m_DepartmentIDs, "DepartmentName", "DepartmentID"); });
    trap(112, [&] { m_shown.Show(*txtNextSchedMaint, text("NextSchedMaint")); });
    trap(114, [&] { m_shown.Show(*txtDescription, text("AssetDescription")); });
    trap(116, [&] { m_shown.Show(*txtDateAcquired, text("DateAcquired")); });
    trap(118, [&] { m_shown.Show(*txtDateSold, text("DateSold")); });
    trap(120, [&] { m_shown.Show(*txtModelNo, text("ModelNumber")); });
    trap(122, [&] { m_shown.Show(*txtSerialNo, text("SerialNumber")); });
    trap(124, [&] { m_shown.Show(*txtBarcodeNo, text("BarcodeNumber")); });
    trap(126, [&] { m_shown.Show(*txtPurchasePrice, money("PurchasePrice")); });
    trap(128, [&] { m_shown.Show(*txtCurrentValue, money("CurrentValue")); });
    trap(130, [&] { m_shown.Show(*txtDeprMethod, text("DepreciationMethod")); });
    trap(132, [&] {
        m_shown.Show(*txtDepreciableLife,
                     [&] { return NumberText(NumberOf(value("DepreciableLife"))); });
    });
    trap(134, [&] { m_shown.Show(*txtSalvageValue, money("SalvageValue")); });
    trap(136, [&] { m_shown.Show(*txtComments, text("Comments")); });
    trap(138, [&] { LoadMaintenance(); });
    // The basis reads the stored purchase price and salvage value itself, so that the
    // depreciation pane can show it again after each of its commands.
    double totalDepreciation = 0;
    trap(140, [&] { LoadDepreciation(totalDepreciation); });
    trap(142, [&] { ShowDepreciationBasis(totalDepreciation); });
}

void Form4::ShowNoHistory()
{
    ListView1->Clear();
    ListView2->Clear();
    txtTotalMaintenance->setText(FormatMoney(Currency()));
    txtTotalDepreciation->setText(FormatMoney(Currency()));
    txtDepreciationBasis->clear();
}

void Form4::ShowDepreciationBasis(double totalDepreciation)
{
    ErrorTrap trap(Form4Location("ShowDepreciationBasis"));
    trap(100, [&] {
        const std::optional<Currency> total = Currency::FromDouble(totalDepreciation);
        if (!total)
            throw RuntimeError("Overflow: the total depreciation is out of the currency range");
        const Currency basis =
            StoredAmount("PurchasePrice") - StoredAmount("SalvageValue") - *total;
        txtDepreciationBasis->setText(FormatMoney(basis));
    });
}

bool Form4::HasAssetRow() const
{
    return m_rsAsset && m_rsAsset->IsOpen() && !m_rsAsset->Eof() && !m_rsAsset->Bof();
}

Currency Form4::StoredAmount(const QString& column) const
{
    return HasAssetRow() ? MoneyOf(m_rsAsset->Fields(column).Value) : Currency();
}
