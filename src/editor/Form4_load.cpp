#include "editor/Form4.h"

#include "common/ErrorTrap.h"
#include "common/Window.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "editor/Location.h"
#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QComboBox>

namespace {

long long KeyOf(const Variant& value)
{
    if (value.type() != Variant::Type::Long)
        throw RuntimeError("Type mismatch: a key column holds no whole number");
    return value.longValue();
}

// One lookup list and its parallel id list, refilled from scratch; no entry is selected
// afterwards. A failed read leaves both lists as far as they got, still parallel.
void FillLookup(const char* procedure, QComboBox& list, QList<long long>& ids, const QString& sql,
                const QString& idColumn, const QString& displayColumn)
{
    ErrorTrap trap(Form4Location(procedure));
    Recordset rs;
    trap(100, [&] { list.clear(); });
    trap(102, [&] { ids.clear(); });
    if (!trap(104,
              [&] { rs.Open(sql, *g_Conn, Recordset::adOpenStatic, Recordset::adLockReadOnly); }))
        return;
    trap(106, [&] {
        while (!rs.Eof()) {
            const long long id = KeyOf(rs.Fields(idColumn).Value);
            // A display value that is null shows as an empty entry, so the lists stay parallel.
            const QString text = TextOf(rs.Fields(displayColumn).Value);
            ids.append(id);
            list.addItem(text);
            rs.MoveNext();
        }
    });
    trap(108, [&] { rs.Close(); });
    trap(110, [&] { list.setCurrentIndex(-1); });
}

// A lookup list showing one column of a whole table, in the order of that column.
void FillTableLookup(const char* procedure, QComboBox& list, QList<long long>& ids,
                     const QString& table, const QString& idColumn, const QString& displayColumn)
{
    FillLookup(procedure, list, ids, "select * from " + table + " order by " + displayColumn,
               idColumn, displayColumn);
}

} // namespace

void Form4::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

// Window load: colour, hand pointer, list columns, the five lookup lists, then the asset
// when one is being edited.
void Form4::Form_Load()
{
    ErrorTrap trap(Form4Location("Form_Load"));
    trap(100, [&] { ColorForm(*this); });
    trap(102, [&] { Pointer->SetMouseIcon(LoadHandPointer()); });
    trap(104, [&] { AddListColumns(); });
    trap(106, [&] { LoadEmployees(); });
    trap(108, [&] { LoadCategories(); });
    trap(110, [&] { LoadStatus(); });
    trap(112, [&] { LoadDepartment(); });
    trap(114, [&] { LoadVendor(); });
    trap(116, [&] {
        if (!m_AssetID.isEmpty())
            ListData();
    });
    trap(118, [&] { EnablePaneCommands(); });
}

void Form4::LoadEmployees()
{
    FillLookup("LoadEmployees", *cboEmployees, m_EmployeeIDs,
               "select EmployeeID, LastName+', '+FirstName as Employee from Employees order by "
               "LastName,FirstName",
               "EmployeeID", "Employee");
}

void Form4::LoadCategories()
{
    FillTableLookup("LoadCategories", *cboCategories, m_CategoryIDs, "[Asset Categories]",
                    "AssetCategoryID", "AssetCategory");
}

void Form4::LoadStatus()
{
    FillTableLookup("LoadStatus", *cboStatus, m_StatusIDs, "Status", "StatusID", "Status");
}

void Form4::LoadDepartment()
{
    FillTableLookup("LoadDepartment", *cboDepartment, m_DepartmentIDs, "Departments",
                    "DepartmentID", "DepartmentName");
}

void Form4::LoadVendor()
{
    FillTableLookup("LoadVendor", *cboVendors, m_VendorIDs, "Vendors", "VendorID", "VendorName");
}
