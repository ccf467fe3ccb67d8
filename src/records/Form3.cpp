#include "records/Form3.h"

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
    return RecordLocation("Form3", procedure);
}

} // namespace

// Builds the dialog's controls in their keyboard order, the amount first so that it has the
// focus when the dialog opens; the caption loads it.
Form3::Form3(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Add New"));
    SetUpRecordWindow(*this, 2760, 1605);
    txtCost = AddTextBox(*this, "txtCost", {960, 600, 1680, 345});
    PushButton2 = AddRecordButton(*this, "PushButton2", "Save", {120, 1080, 1200, 405});
    PushButton1 = AddRecordButton(*this, "PushButton1", "Cancel", {1440, 1080, 1200, 405});
    dtpDate = AddDatePicker(*this, {960, 120, 1680, 375});
    AddCaption(*this, "Date:", *dtpDate, 800);
    AddCaption(*this, "Amount:", *txtCost, 800);
    connect(PushButton1, &QPushButton::clicked, this, &Form3::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form3::PushButton2_Click);
    Pointer = new PointerRule(*this);
    Pointer->AddButtons({PushButton1, PushButton2});
}

Form3::~Form3() = default;

// Sets the caption; the first call loads the dialog.
void Form3::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

// Window load: colour, icon, pointer, today's date, and the entry when one is edited.
void Form3::Form_Load()
{
    LoadRecordWindow(Location("Form_Load"), *this, *Pointer, *dtpDate, !m_ID.isEmpty(),
                     [this] { LoadData(); });
}

// Fills the date and the amount from entry m_ID; an entry that no longer exists leaves
// today's date and an empty amount.
void Form3::LoadData()
{
    ErrorTrap trap(Location("LoadData"));
    Recordset rs;
    if (!trap(100, [&] {
            rs.Open("select * from Depreciation where DepreciationID=" + IdLiteral(m_ID), *g_Conn,
                    Recordset::adOpenStatic, Recordset::adLockReadOnly);
        }))
        return;
    if (!rs.Eof()) {
        trap(102, [&] {
            m_shown.Show(*dtpDate, [&] { return StoredDate(rs.Fields("DepreciationDate").Value); });
        });
        trap(104, [&] {
            m_shown.Show(*txtCost, [&] { return CStr(rs.Fields("DepreciationAmount").Value); });
        });
    }
    trap(106, [&] { rs.Close(); });
}

// Cancel: closes the dialog without writing.
void Form3::PushButton1_Click()
{
    CancelRecord(Location("PushButton1_Click"), *this);
}

// Save: checks the amount, then updates entry m_ID (or inserts the entry) and closes; a
// refused statement keeps the dialog open.
void Form3::PushButton2_Click()
{
    if (!RequireText(*txtCost, "You forgot to input amount.") ||
        !RequireNumber(*txtCost, "Amount must be a numerical value."))
        return;
    SaveRecord(Location("PushButton2_Click"), *this, m_AssetID, [this] {
        const QString asset = IdLiteral(m_AssetID);
        const QString date = m_shown.ColumnOrLiteral(
            *dtpDate, "DepreciationDate", [&] { return TextLiteral(DateText(dtpDate->date())); });
        const QString amount = m_shown.ColumnOrLiteral(*txtCost, "DepreciationAmount",
                                                       [&] { return AmountLiteral(*txtCost); });
        if (!m_ID.isEmpty())
            return "update Depreciation set AssetID=" + asset + ",DepreciationDate=" + date +
                   ",DepreciationAmount=" + amount + " where DepreciationID=" + IdLiteral(m_ID);
        return "insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) values (" +
               asset + "," + date + "," + amount + ")";
    });
}
