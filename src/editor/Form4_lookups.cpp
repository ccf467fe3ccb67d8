#include "editor/Form4.h"

#include "backup/Backups.h"
#include "common/ErrorTrap.h"
#include "data/AllOrNothing.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "editor/Location.h"
#include "platform/ui/Boxes.h"

#include <QComboBox>

namespace {

// One of the five lookup lists: what its "-" deletes and how the list is refilled.
struct Lookup
{
    const char* noun; // as the warning names it
    const char* table;
    const char* idColumn;
    QComboBox* Form4::*list;
    QList<long long> Form4::*ids;
    void (Form4::*loader)();
};

const Lookup Employees{"employee",           "Employees",           "EmployeeID",
                       &Form4::cboEmployees, &Form4::m_EmployeeIDs, &Form4::LoadEmployees};
const Lookup Vendors{"vendor",           "Vendors",           "VendorID",
                     &Form4::cboVendors, &Form4::m_VendorIDs, &Form4::LoadVendor};
const Lookup Categories{"category",
                        "[Asset Categories]",
                        "AssetCategoryID",
                        &Form4::cboCategories,
                        &Form4::m_CategoryIDs,
                        &Form4::LoadCategories};
const Lookup Statuses{
    "status", "Status", "StatusID", &Form4::cboStatus, &Form4::m_StatusIDs, &Form4::LoadStatus};
const Lookup Departments{"department",          "Departments",           "DepartmentID",
                         &Form4::cboDepartment, &Form4::m_DepartmentIDs, &Form4::LoadDepartment};

// "+" of a list with one name column: asks for the value and stores it as typed.
void AddValue(Form4& form, const char* procedure, const QString& prompt, const QString& title,
              const QString& insertStart, void (Form4::*loader)())
{
    ErrorTrap trap(Form4Location(procedure));
    QString answer;
    trap(100, [&] { answer = InputBox(prompt, title); });
    if (answer.isEmpty())
        return;
    trap(102, [&] { g_Conn->Execute(insertStart + TextLiteral(answer) + ")"); });
    trap(104, [&] { (form.*loader)(); });
}

// "-": after the warning and a backup, deletes the selected lookup row, every asset that uses
// it and those assets' histories, all or nothing; then refills the list and reads the edited
// asset again.
void DeleteValue(Form4& form, const char* procedure, const Lookup& lookup)
{
    ErrorTrap trap(Form4Location(procedure));
    const QComboBox& list = *(form.*lookup.list);
    if (list.currentIndex() < 0)
        return;
    BoxAnswer answer = BoxAnswer::No;
    trap(100, [&] {
        // No is the default button: a stray Enter must not delete every asset of the value.
        answer = MsgBox(QStringLiteral("Note: Deleting %1 will also delete assets data that is "
                                       "linked to this %1.\r\nDo you wish to continue?")
                            .arg(lookup.noun),
                        BoxButtons::YesNo, BoxIcon::None, QString(), BoxDefault::Second);
    });
    if (answer != BoxAnswer::Yes)
        return;
    QString id;
    if (!trap(102, [&] { id = IdLiteral(Form4::SelectedId(list, form.*lookup.ids)); }))
        return;
    trap(104, [&] {
        BackUpBefore(QStringLiteral("Delete %1").arg(lookup.noun));
        const QString where = QStringLiteral(" where ") + lookup.idColumn + "=" + id;
        const QString assets = "(select AssetID from Assets" + where + ")";
        ExecuteAllOrNothing({QStringLiteral("delete from ") + lookup.table + where,
                             "delete from Maintenance where AssetID in " + assets,
                             "delete from Depreciation where AssetID in " + assets,
                             "delete from Assets" + where});
    });
    trap(106, [&] { (form.*lookup.loader)(); });
    trap(108, [&] {
        if (!form.m_AssetID.isEmpty())
            form.ListData();
    });
}

} // namespace

// Employee "+": asks for the first and the last name, always both; stores only both.
void Form4::PushButton10_Click()
{
    ErrorTrap trap(Form4Location("PushButton10_Click"));
    QString first;
    QString last;
    trap(100, [&] { first = InputBox("Enter Firstname: ", "Input Firstname"); });
    trap(102, [&] { last = InputBox("Enter Lastname: ", "Input Lastname"); });
    if (first.isEmpty() || last.isEmpty())
        return;
    trap(104, [&] {
        g_Conn->Execute("insert into Employees (FirstName,LastName) values (" + TextLiteral(first) +
                        "," + TextLiteral(last) + ")");
    });
    trap(106, [&] { LoadEmployees(); });
}

// Employee "-".
void Form4::PushButton11_Click()
{
    DeleteValue(*this, "PushButton11_Click", Employees);
}

// Vendor "+".
void Form4::PushButton12_Click()
{
    AddValue(*this, "PushButton12_Click", "Enter Vendor Name: ", "Input Vendor Name",
             "insert into Vendors (VendorName) values (", &Form4::LoadVendor);
}

// Vendor "-".
void Form4::PushButton13_Click()
{
    DeleteValue(*this, "PushButton13_Click", Vendors);
}

// Asset category "+".
void Form4::PushButton14_Click()
{
    AddValue(*this, "PushButton14_Click", "Enter Asset Category: ", "Input Asset Category",
             "insert into [Asset Categories] (AssetCategory) values (", &Form4::LoadCategories);
}

// Asset category "-".
void Form4::PushButton15_Click()
{
    DeleteValue(*this, "PushButton15_Click", Categories);
}

// Status "+".
void Form4::PushButton16_Click()
{
    AddValue(*this, "PushButton16_Click", "Enter Status: ", "Input Status",
             "insert into Status (Status) values (", &Form4::LoadStatus);
}

// Status "-".
void Form4::PushButton17_Click()
{
    DeleteValue(*this, "PushButton17_Click", Statuses);
}

// Department "+".
void Form4::PushButton18_Click()
{
    AddValue(*this, "PushButton18_Click", "Enter Department: ", "Input Department",
             "insert into Departments (DepartmentName) values (", &Form4::LoadDepartment);
}

// Department "-".
void Form4::PushButton19_Click()
{
    DeleteValue(*this, "PushButton19_Click", Departments);
}
