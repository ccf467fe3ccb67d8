// Load Sample/Example Data: example lookup rows where a lookup list is short, then three
// example assets that refer to the oldest and the newest row of each lookup list.
#include "mainwindow/Form1.h"

#include "common/ErrorTrap.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/os/Clock.h"

#include <array>

namespace {

// One lookup table: how to count its rows, its two example rows and how to read the key of
// its first and last row. The key stays at its start value when that read fails.
struct ExampleLookup
{
    QString countQuery;
    std::array<QString, 2> inserts;
    QString firstQuery;
    QString lastQuery;
    QString startKey;
};

// In the order the lookup tables are filled.
enum Lookup { Employees, Status, Categories, Vendors, Departments, LookupCount };

const std::array<ExampleLookup, LookupCount>& ExampleLookups()
{
    static const std::array<ExampleLookup, LookupCount> lookups = {{
        {"SELECT Count(Employees.EmployeeID) AS [CountID] From Employees",
         {"insert into Employees ([FirstName],[LastName],[EmailName],[EmployeeNumber],[Title]) "
          "values ('John','Wilson','john.wilson@tarnwick.example','M234','Manager')",
          "insert into Employees ([FirstName],[LastName],[EmailName],[EmployeeNumber],[Title]) "
          "values ('Daniel','Carter','daniel.carter@tarnwick.example','M123','HR')"},
         "SELECT First(Employees.EmployeeID) AS [MaxID] FROM Employees",
         "SELECT Last(Employees.EmployeeID) AS [MaxID] FROM Employees",
         "1"},
        {"SELECT Count(Status.StatusID) AS [CountID] From Status",
         {"insert into Status (Status) values ('In process')",
          "insert into Status (Status) values ('Cancelled')"},
         "SELECT First(Status.StatusID) AS [MaxID] FROM Status",
         "SELECT Last(Status.StatusID) AS [MaxID] FROM Status",
         " "},
        {"SELECT Count([Asset Categories].AssetCategory) AS [CountID] From [Asset Categories]",
         {"insert into [Asset Categories] (AssetCategory) values ('New Category')",
          "insert into [Asset Categories] (AssetCategory) values ('Main Category')"},
         "SELECT First([Asset Categories].AssetCategoryID) AS [MaxID] FROM [Asset Categories]",
         "SELECT Last([Asset Categories].AssetCategoryID) AS [MaxID] FROM [Asset Categories]",
         " "},
        {"SELECT Count(Vendors.VendorID) AS [CountID] From Vendors",
         {"insert into Vendors ([ContactFirstName],[ContactLastName],VendorName,[Title]) "
          "values ('Hanna','Simmons','Simmons Supplies','CEO')",
          "insert into Vendors ([ContactFirstName],[ContactLastName],VendorName,[Title]) "
          "values ('Neil','Burgess','WestEast Cost Cars','Senior manager')"},
         "SELECT First(Vendors.VendorID) AS [MaxID] FROM Vendors",
         "SELECT Last(Vendors.VendorID) AS [MaxID] FROM Vendors",
         "1"},
        {"SELECT Count(Departments.DepartmentID) AS [CountID] From Departments",
         {"insert into [Departments] (DepartmentName) values ('Sales')",
          "insert into [Departments] (DepartmentName) values ('Support')"},
         "SELECT First(Departments.DepartmentID) AS [MaxID] FROM Departments",
         "SELECT Last(Departments.DepartmentID) AS [MaxID] FROM Departments",
         " "},
    }};
    return lookups;
}

struct ExampleAsset
{
    QString description;
    bool usesFirstKeys; // else the last key of each lookup table
    QString model;
    QString serial;
    QString barcode;
    int purchasePrice;
    int salvageValue;
    int currentValue;
};

const std::array<ExampleAsset, 3> kExampleAssets = {{
    {"Ink Printer", false, "IPT11", "W3C124", "0786543", 584, 30, 520},
    {"Personal Computer", true, "DPC628", "XEC349834", "00754355", 1584, 300, 1520},
    {"Laser Printer", false, "LPT33", "W3C2455", "000434545", 844, 120, 645},
}};

constexpr int kDepreciableLife = 5;

// The keys of one lookup table's first and last row, as decimal text.
struct LookupKeys
{
    QString first;
    QString last;
};

QString AssetInsert(const ExampleAsset& asset, const std::array<LookupKeys, LookupCount>& keys,
                    const QString& today)
{
    // A key read back is pasted as a key or not at all: a blank start value, or text a
    // damaged table holds, is refused here rather than run as part of the statement.
    auto key = [&](Lookup lookup) {
        return IdLiteral(asset.usesFirstKeys ? keys[lookup].first : keys[lookup].last);
    };
    return "insert into Assets (AssetDescription,EmployeeID,AssetCategoryID,StatusID,"
           "DepartmentID,VendorID,ModelNumber,SerialNumber,BarcodeNumber,DateAcquired,"
           "DateSold,PurchasePrice,"
           "DepreciationMethod,DepreciableLife,SalvageValue,CurrentValue,Comments,"
           "NextSchedMaint) values ('" +
           asset.description + "'," + key(Employees) + "," + key(Categories) + "," + key(Status) +
           "," + key(Departments) + "," + key(Vendors) + ",'" + asset.model + "','" + asset.serial +
           "','" + asset.barcode + "'," + "'" + today + "'" + "," + "'" + today + "'" + ", CCur('" +
           QString::number(asset.purchasePrice) + "'),'" + "SL" + "'," +
           QString::number(kDepreciableLife) + ",CCur('" + QString::number(asset.salvageValue) +
           "'),CCur('" + QString::number(asset.currentValue) + "'),'" + "Comments here" + "'," +
           "null" + ")";
}

} // namespace

// Load Sample/Example Data. No question before and no message after; every run adds the
// three example assets again.
void Form1::PushButton4_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton4_Click ");
    // One recordset serves every query: each one opens it and closes it again.
    Recordset rs;
    std::array<LookupKeys, LookupCount> keys;

    // Reads field `name` of the query's only row as text; keeps `value` when the query
    // gives no row or the read fails (a null key of an empty table).
    auto readInto = [&](int step, const QString& query, const QString& name, QString& value) {
        trap(step, [&] { rs.Open(query, SharedConnection()); });
        trap(step + 2, [&] {
            if (!rs.Eof())
                value = CStr(rs.Fields(name).Value);
        });
        trap(step + 4, [&] { rs.Close(); });
    };

    // Each lookup table has steps of its own, so a step number tells the table too.
    int step = 100;
    for (int table = 0; table < LookupCount; ++table) {
        const ExampleLookup& lookup = ExampleLookups()[table];
        QString countText = "0";
        readInto(step, lookup.countQuery, "CountID", countText);
        int count = countText.toInt();
        for (int i = 0; i < 2; ++i) {
            // The row counts as added whether or not its insert worked: a failed insert is
            // reported, never retried with the other example row.
            if (count < 2) {
                trap(step + 6 + 2 * i, [&] { SharedConnection().Execute(lookup.inserts[i]); });
                ++count;
            }
        }
        keys[table] = {lookup.startKey, lookup.startKey};
        readInto(step + 10, lookup.firstQuery, "MaxID", keys[table].first);
        readInto(step + 16, lookup.lastQuery, "MaxID", keys[table].last);
        step += 22;
    }

    QString today;
    trap(step, [&] { today = DateText(Today()); });
    for (const ExampleAsset& asset : kExampleAssets) {
        step += 2;
        trap(step, [&] { SharedConnection().Execute(AssetInsert(asset, keys, today)); });
    }
    trap(step + 2, [&] { ListData(); });
}
