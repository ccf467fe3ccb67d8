#include "editor/Form4.h"

#include "common/ErrorTrap.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "editor/Location.h"
#include "platform/conv/Conv.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Modal.h"
#include "records/Form2.h"
#include "records/Form3.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace {

// How one history table fills its list: the key as item text, then plain columns shown as
// text (dates in the short form), then the money column that the total sums.
struct History
{
    const char* procedure;
    QString sql;
    QString keyColumn;
    QStringList textColumns;
    QString moneyColumn;
};

// Ends a list update also when a row fails to read, so the list never stays frozen.
class UpdateGuard
{
public:
    explicit UpdateGuard(ListView& list) : m_list(list) { m_list.BeginUpdate(); }
    ~UpdateGuard() { m_list.EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    ListView& m_list;
};

// Refills the list and the total box from the history's rows. The total starts at 0, so an
// empty history shows $0.00; when the rows cannot be read the total box is emptied rather
// than showing a figure that was never summed. Each cell is read on its own, as in the main
// list: one that cannot be shown is reported and left empty, and the rest of its row, the
// later rows and the total stay whole. Gives the total.
double FillHistory(const History& history, ListView& list, QLineEdit& totalBox)
{
    ErrorTrap trap(Form4Location(history.procedure));
    Recordset rs;
    double total = 0;
    trap(100, [&] { list.Clear(); });
    if (!trap(102, [&] {
            rs.Open(history.sql, *g_Conn, Recordset::adOpenStatic, Recordset::adLockReadOnly);
        })) {
        totalBox.clear();
        return total;
    }
    trap(104, [&] {
        UpdateGuard update(list);
        const int columns = int(history.textColumns.size());
        // The key, the texts, then the amount, which is also counted.
        std::optional<Currency> amount;
        auto cell = [&](int c) {
            if (c == 0)
                return CStr(rs.Fields(history.keyColumn).Value);
            if (c <= columns)
                return CStr(rs.Fields(history.textColumns[c - 1]).Value);
            amount = CCur(rs.Fields(history.moneyColumn).Value);
            return FormatMoney(*amount);
        };
        while (!rs.Eof()) {
            QStringList texts;
            amount.reset();
            try {
                for (int c = 0; c <= columns + 1; ++c)
                    texts << cell(c);
            } catch (const std::exception&) {
                // Read again cell by cell, so that each cell that fails is reported.
                texts.clear();
                for (int c = 0; c <= columns + 1; ++c) {
                    QString text;
                    trap(104, [&] { text = cell(c); });
                    texts << text;
                }
            }
            const int row = list.AddItem(texts[0]);
            for (int c = 1; c < texts.size(); ++c)
                list.SetSubItem(row, c, texts[c]);
            if (amount)
                total += amount->ToDouble();
            rs.MoveNext();
        }
    });
    trap(106, [&] { rs.Close(); });
    trap(108, [&] { totalBox.setText(FormatMoney(total)); });
    return total;
}

// Opens a record dialog the way every pane does: key, owner, caption, then modally.
template <typename Dialog>
void OpenRecord(QWidget& owner, const QString& id, const QString& assetId, const QString& caption)
{
    Dialog dialog(&owner);
    dialog.m_ID = id;
    dialog.m_AssetID = assetId;
    dialog.SetCaption(caption);
    ShowModal(dialog, &owner);
}

// The key of the list's selected row; empty when no row is selected.
QString SelectedKey(const ListView& list)
{
    const int row = list.SelectedIndex();
    return row < 0 ? QString() : list.ItemText(row);
}

// After an edit the pane is refilled from scratch; the entry that was edited (or left alone
// by Cancel) is selected again, so Edit Selected can reopen it at once.
void SelectKey(ListView& list, const QString& key)
{
    for (int row = 0; row < list.ItemCount(); ++row) {
        if (list.ItemText(row) == key) {
            list.SelectItem(row);
            return;
        }
    }
}

// The depreciation pane's refill; the basis follows the new total at once, from the stored
// purchase price and salvage value.
void ReloadDepreciation(Form4& form)
{
    double total = 0;
    form.LoadDepreciation(total);
    form.ShowDepreciationBasis(total);
}

} // namespace

void Form4::LoadMaintenance()
{
    FillHistory({"LoadMaintenance",
                 "select * from Maintenance where AssetID=" + IdLiteral(m_AssetID) +
                     " order by MaintenanceDate",
                 "MaintenanceID",
                 {"MaintenanceDate", "MaintenanceDescription", "MaintenancePerformedBy"},
                 "MaintenanceCost"},
                *ListView1, *txtTotalMaintenance);
}

void Form4::LoadDepreciation(double& totalDepreciation)
{
    totalDepreciation =
        FillHistory({"LoadDepreciation",
                     "select * from Depreciation where AssetID=" + IdLiteral(m_AssetID) +
                         " order by DepreciationDate",
                     "DepreciationID",
                     {"DepreciationDate"},
                     "DepreciationAmount"},
                    *ListView2, *txtTotalDepreciation);
}

// A new asset has no key yet, and its histories cannot be kept before it is stored: the six
// pane buttons wait until it has one. An asset that is gone keeps no history either.
void Form4::EnablePaneCommands()
{
    const bool stored = HasAssetRow();
    const QString why = m_AddNew ? QStringLiteral("Save the new asset first to keep its history.")
                                 : QStringLiteral("This asset no longer exists.");
    for (int n = 4; n <= 9; ++n) {
        PushButton[n]->setEnabled(stored);
        PushButton[n]->setToolTip(stored ? QString() : why);
    }
}

// Maintenance Add New: opens the maintenance dialog empty, then refills the pane.
void Form4::PushButton4_Click()
{
    ErrorTrap trap(Form4Location("PushButton4_Click"));
    trap(100, [&] { OpenRecord<Form2>(*this, QString(), m_AssetID, "Add New Maintenance"); });
    trap(102, [&] { LoadMaintenance(); });
}

// Maintenance Edit Selected: opens the selected entry, then refills the pane.
void Form4::PushButton5_Click()
{
    ErrorTrap trap(Form4Location("PushButton5_Click"));
    const QString key = SelectedKey(*ListView1);
    if (key.isEmpty())
        return;
    trap(100, [&] { OpenRecord<Form2>(*this, key, m_AssetID, "Edit Maintenance"); });
    trap(102, [&] { LoadMaintenance(); });
    trap(104, [&] { SelectKey(*ListView1, key); });
}

// Maintenance Delete Selected: deletes the selected entry at once, then refills the pane.
void Form4::PushButton6_Click()
{
    ErrorTrap trap(Form4Location("PushButton6_Click"));
    const QString key = SelectedKey(*ListView1);
    if (key.isEmpty())
        return;
    trap(100,
         [&] { g_Conn->Execute("delete from Maintenance where MaintenanceID=" + IdLiteral(key)); });
    trap(102, [&] { LoadMaintenance(); });
}

// Depreciation Add New: opens the depreciation dialog empty, then refills the pane.
void Form4::PushButton7_Click()
{
    ErrorTrap trap(Form4Location("PushButton7_Click"));
    trap(100, [&] { OpenRecord<Form3>(*this, QString(), m_AssetID, "Add Depreciation"); });
    trap(102, [&] { ReloadDepreciation(*this); });
}

// Depreciation Edit Selected: opens the selected entry, then refills the pane.
void Form4::PushButton8_Click()
{
    ErrorTrap trap(Form4Location("PushButton8_Click"));
    const QString key = SelectedKey(*ListView2);
    if (key.isEmpty())
        return;
    trap(100, [&] { OpenRecord<Form3>(*this, key, m_AssetID, "Edit Depreciation"); });
    trap(102, [&] { ReloadDepreciation(*this); });
    trap(104, [&] { SelectKey(*ListView2, key); });
}

// Depreciation Delete Selected: deletes the selected entry at once, then refills the pane.
void Form4::PushButton9_Click()
{
    ErrorTrap trap(Form4Location("PushButton9_Click"));
    const QString key = SelectedKey(*ListView2);
    if (key.isEmpty())
        return;
    trap(100, [&] {
        g_Conn->Execute("delete from Depreciation where DepreciationID=" + IdLiteral(key));
    });
    trap(102, [&] { ReloadDepreciation(*this); });
}
