#include "records/Form2.h"

#include "common/ErrorTrap.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "records/RecordDialog.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString Location(const char* procedure)
{
    return RecordLocation("Form2", procedure);
}

} // namespace

// Builds the dialog's controls in their keyboard order; the caption loads it.
Form2::Form2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Add New"));
    SetUpRecordWindow(*this, 5160, 2550);
    dtpDate = AddDatePicker(*this, {1440, 120, 3600, 375});
    txtDescription = AddTextBox(*this, "txtDescription", {1440, 600, 3600, 345});
    txtPerformedBy = AddTextBox(*this, "txtPerformedBy", {1440, 1080, 3600, 345});
    txtCost = AddTextBox(*this, "txtCost", {1440, 1560, 3600, 345});
    PushButton2 = AddRecordButton(*this, "PushButton2", "Save", {120, 2040, 2400, 405});
    PushButton1 = AddRecordButton(*this, "PushButton1", "Cancel", {2640, 2040, 2400, 405});
    // The captions reach up to the boxes: "Performed By:" in bold needs all of that room.
    AddCaption(*this, "Date:", *dtpDate, 1290);
    AddCaption(*this, "Description:", *txtDescription, 1290);
    AddCaption(*this, "Performed By:", *txtPerformedBy, 1290);
    AddCaption(*this, "Cost:", *txtCost, 1290);
    connect(PushButton1, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form2::PushButton2_Click);
    Pointer = new PointerRule(*this);
    Pointer->AddButtons({PushButton1, PushButton2});
}

Form2::~Form2() = default;

// Sets the caption; the first call loads the dialog.
void Form2::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

// Window load: colour, icon, pointer, today's date, and the entry when one is edited.
void Form2::Form_Load()
{
    LoadRecordWindow(Location("Form_Load"), *this, *Pointer, *dtpDate, !m_ID.isEmpty(),
                     [this] { LoadData(); });
}

// Fills the boxes from entry m_ID; an entry that no longer exists leaves today's date and
// empty boxes.
void Form2::LoadData()
{
    ErrorTrap trap(Location("LoadData"));
    Recordset rs;
    if (!trap(100, [&] {
            rs.Open("select * from Maintenance where MaintenanceID=" + IdLiteral(m_ID), *g_Conn,
                    Recordset::adOpenStatic, Recordset::adLockReadOnly);
        }))
        return;
    if (!rs.Eof()) {
        auto value = [&](const char* column) { return rs.Fields(column).Value; };
        auto text = [&](const char* column) { return [&, column] { return CStr(value(column)); }; };
        trap(102,
             [&] { m_shown.Show(*dtpDate, [&] { return StoredDate(value("MaintenanceDate")); }); });
        trap(104, [&] { m_shown.Show(*txtDescription, text("MaintenanceDescription")); });
        trap(106, [&] { m_shown.Show(*txtPerformedBy, text("MaintenancePerformedBy")); });
        trap(108, [&] { m_shown.Show(*txtCost, text("MaintenanceCost")); });
    }
    trap(110, [&] { rs.Close(); });
}

// Cancel: closes the dialog without writing.
void Form2::PushButton1_Click()
{
    CancelRecord(Location("PushButton1_Click"), *this);
}

// Save: checks the boxes in order, then inserts the entry (or updates entry m_ID) and
// closes; a refused statement keeps the dialog open.
void Form2::PushButton2_Click()
{
    if (!RequireText(*txtDescription, "You forgot to input description.") ||
        !RequireText(*txtPerformedBy, "You forgot to input performed by.") ||
        !RequireText(*txtCost, "You forgot to input cost.") ||
        !RequireNumber(*txtCost, "Cost must be a numerical value."))
        return;
    SaveRecord(Location("PushButton2_Click"), *this, m_AssetID, [this] {
        const QString asset = IdLiteral(m_AssetID);
        const QString date = m_shown.ColumnOrLiteral(
            *dtpDate, "MaintenanceDate", [&] { return TextLiteral(DateText(dtpDate->date())); });
        const QString description =
            m_shown.ColumnOrLiteral(*txtDescription, "MaintenanceDescription",
                                    [&] { return TextLiteral(txtDescription->text()); });
        const QString performed =
            m_shown.ColumnOrLiteral(*txtPerformedBy, "MaintenancePerformedBy",
                                    [&] { return TextLiteral(txtPerformedBy->text()); });
        const QString cost = m_shown.ColumnOrLiteral(*txtCost, "MaintenanceCost",
                                                     [&] { return AmountLiteral(*txtCost); });
        if (m_ID.isEmpty())
            return "insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,"
                   "MaintenancePerformedBy,MaintenanceCost) values (" +
                   asset + "," + date + "," + description + "," + performed + "," + cost + ")";
        return "update Maintenance set AssetID=" + asset + ",MaintenanceDate=" + date +
               ",MaintenanceDescription=" + description + ",MaintenancePerformedBy=" + performed +
               ",MaintenanceCost=" + cost + " where MaintenanceID=" + IdLiteral(m_ID);
    });
}
