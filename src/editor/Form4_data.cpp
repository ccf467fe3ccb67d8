#include "editor/Form4.h"

#include "common/ErrorTrap.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "editor/Location.h"
#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

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

// Selects the entry whose text equals the value; none when the value matches no entry. A null
// value is an error, and the list is left without a selection.
void SelectByText(QComboBox& list, const Variant& value)
{
    list.setCurrentIndex(-1);
    list.setCurrentIndex(list.findText(CStr(value)));
}

} // namespace

void Form4::ListData()
{
    ErrorTrap trap(Form4Location("ListData"));
    trap(100, [&] { m_rsAsset = std::make_unique<Recordset>(); });
    const bool opened = trap(102, [&] {
        m_rsAsset->Open("select * from qryAssets where AssetID=" + IdLiteral(m_AssetID), *g_Conn,
                        Recordset::adOpenStatic, Recordset::adLockReadOnly);
    });
    if (!opened)
        return;
    trap(104, [&] {
        if (!m_rsAsset->Eof()) {
            m_rsAsset->MoveFirst();
            SetData();
        }
    });
}

void Form4::SetData()
{
    if (!HasAssetRow())
        return;
    ErrorTrap trap(Form4Location("SetData"));
    const Recordset& rs = *m_rsAsset;
    auto value = [&](const char* column) { return rs.Fields(column).Value; };
    auto money = [&](const char* column) { return FormatMoney(MoneyOf(value(column))); };

    trap(100, [&] { m_AssetID = CStr(value("AssetID")); });
    trap(102, [&] { SelectByText(*cboEmployees, value("Employee")); });
    trap(104, [&] { SelectByText(*cboVendors, value("VendorName")); });
    trap(106, [&] { SelectByText(*cboCategories, value("AssetCategory")); });
    trap(108, [&] { SelectByText(*cboStatus, value("Status")); });
    trap(110, [&] { SelectByText(*cboDepartment, value("DepartmentName")); });
    trap(112, [&] { txtNextSchedMaint->setText(TextOf(value("NextSchedMaint"))); });
    trap(114, [&] { txtDescription->setPlainText(TextOf(value("AssetDescription"))); });
    trap(116, [&] { txtDateAcquired->setText(TextOf(value("DateAcquired"))); });
    trap(118, [&] { txtDateSold->setText(TextOf(value("DateSold"))); });
    trap(120, [&] { txtModelNo->setText(TextOf(value("ModelNumber"))); });
    trap(122, [&] { txtSerialNo->setText(TextOf(value("SerialNumber"))); });
    trap(124, [&] { txtBarcodeNo->setText(TextOf(value("BarcodeNumber"))); });
    trap(126, [&] { txtPurchasePrice->setText(money("PurchasePrice")); });
    trap(128, [&] { txtCurrentValue->setText(money("CurrentValue")); });
    trap(130, [&] { txtDeprMethod->setText(TextOf(value("DepreciationMethod"))); });
    trap(132, [&] { txtDepreciableLife->setText(NumberText(NumberOf(value("DepreciableLife")))); });
    trap(134, [&] { txtSalvageValue->setText(money("SalvageValue")); });
    trap(136, [&] { txtComments->setPlainText(TextOf(value("Comments"))); });
    trap(138, [&] { LoadMaintenance(); });
    // The basis reads the stored purchase price and salvage value itself, so that the
    // depreciation pane can show it again after each of its commands.
    double totalDepreciation = 0;
    trap(140, [&] { LoadDepreciation(totalDepreciation); });
    trap(142, [&] { ShowDepreciationBasis(totalDepreciation); });
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
