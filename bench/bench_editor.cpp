// How long the asset editor takes to fill its two history panes for an asset with a long
// history, against reading the same rows straight from SQLite.
#include "BenchSupport.h"
#include "data/Globals.h"
#include "editor/Form4.h"
#include "platform/ui/ListView.h"
#include "support/TestSupport.h"

#include <QApplication>

namespace {

constexpr int kRows = 10000;

// One asset with a long history in random date order, and a second asset whose history of
// the same size the panes must leave out.
void FillDatabase(sqlite3* db)
{
    static const char* const jobs[] = {
        "Oil change", "New belt", "Filter", "Inspection", "Repair of the O'Neil door",
        "Calibration"};
    static const char* const people[] = {"Bob", "Ann O'Brien", "Müller GmbH", "Service desk"};
    std::mt19937 random(11);
    Exec(db, "begin");
    for (const char* sql :
         {"insert into Employees (FirstName, LastName) values ('Ann', 'O''Brien')",
          "insert into Vendors (VendorName) values ('Toyota')",
          "insert into [Asset Categories] (AssetCategory) values ('Vehicles')",
          "insert into Status (Status) values ('In Use')",
          "insert into Departments (DepartmentName) values ('Warehouse')",
          "insert into Assets (AssetDescription, EmployeeID, AssetCategoryID, StatusID, "
          "DepartmentID, VendorID, ModelNumber, SerialNumber, BarcodeNumber, PurchasePrice, "
          "DepreciationMethod, DepreciableLife, SalvageValue, CurrentValue, Comments) values "
          "('Forklift', 1, 1, 1, 1, 1, 'FG25', 'SN1', '4001', 25000, 'Straight line', 10, "
          "1000, 20000, 'Serviced often'), ('Van', 1, 1, 1, 1, 1, 'HV', 'SN2', '4002', 18000, "
          "'Straight line', 8, 500, 9000, 'Spare')"})
        Exec(db, sql);
    sqlite3_stmt* maintenance =
        Prepare(db, "insert into Maintenance (AssetID, MaintenanceDate, MaintenanceDescription, "
                    "MaintenancePerformedBy, MaintenanceCost) values (?, ?, ?, ?, ?)");
    sqlite3_stmt* depreciation = Prepare(
        db, "insert into Depreciation (AssetID, DepreciationDate, DepreciationAmount) values "
            "(?, ?, ?)");
    for (int asset = 1; asset <= 2; ++asset) {
        for (int i = 0; i < kRows; ++i) {
            sqlite3_bind_int(maintenance, 1, asset);
            BindText(maintenance, 2, IsoDate(random, 1990, 36));
            BindText(maintenance, 3, jobs[random() % 6]);
            BindText(maintenance, 4, people[random() % 4]);
            sqlite3_bind_double(maintenance, 5, double(random() % 100000) / 100.0);
            Step(db, maintenance);
            sqlite3_bind_int(depreciation, 1, asset);
            BindText(depreciation, 2, IsoDate(random, 1990, 36));
            sqlite3_bind_double(depreciation, 3, double(random() % 50000) / 100.0);
            Step(db, depreciation);
        }
    }
    sqlite3_finalize(maintenance);
    sqlite3_finalize(depreciation);
    Exec(db, "commit");
}

// The floor: the panes' two statements stepped, every text touched.
size_t ReadPanesStraight(sqlite3* db)
{
    return TouchRows(db, "select * from Maintenance where AssetID=1 order by MaintenanceDate") +
           TouchRows(db, "select * from Depreciation where AssetID=1 order by DepreciationDate");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db);

    size_t cellCount = 0;
    const double floor = Best(5, [&] { cellCount = ReadPanesStraight(db); });
    std::printf("%d maintenance and %d depreciation rows, %zu cells; floor (stepping, touching "
                "every text) %.1f ms\n",
                kRows, kRows, cellCount, floor * 1000);

    // The whole opening, as the main window opens the editor: load, read the asset, fill.
    int shown = 0;
    const double open = Best(3, [&] {
        Form4 form;
        form.m_AssetID = "1";
        form.SetCaption("Edit Data");
        shown = form.ListView1->ItemCount() + form.ListView2->ItemCount();
    });
    if (shown != 2 * kRows)
        std::printf("the panes show %d rows, not %d\n", shown, 2 * kRows);

    Form4 form;
    form.m_AssetID = "1";
    form.SetCaption("Edit Data");
    form.show();
    const double maintenance = Best(5, [&] { form.LoadMaintenance(); });
    double total = 0;
    const double depreciation = Best(5, [&] { form.LoadDepreciation(total); });
    Print("both panes (LoadMaintenance + ...)", maintenance + depreciation, floor);
    Print("  LoadMaintenance", maintenance, floor);
    Print("  LoadDepreciation", depreciation, floor);
    Print("open the editor (Form_Load)", open, floor);
    QCoreApplication::processEvents();
    return 0;
}
