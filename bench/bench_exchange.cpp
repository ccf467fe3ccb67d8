// Export of 100 000 assets to a workbook and to a CSV file, and the import of 10 000 CSV lines,
// against reading the same rows straight from SQLite.
//
//     bench_exchange [assets]          100 000 assets unless told
#include "BenchSupport.h"
#include "data/AllOrNothing.h"
#include "data/Globals.h"
#include "exchange/Export.h"
#include "exchange/Import.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace {

QStringList Keys(sqlite3* db, int limit)
{
    QStringList keys;
    sqlite3_stmt* statement = Prepare(db, "select AssetID from Assets order by AssetID");
    while (keys.size() < limit && sqlite3_step(statement) == SQLITE_ROW)
        keys << QString::number(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    return keys;
}

} // namespace

int main(int argc, char* argv[])
{
    const int kAssets = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int kImported = std::min(kAssets, 10000);
    // As the program itself does, so that local times are not looked up again and again.
    qputenv("TZ", ":/etc/localtime");
    QApplication app(argc, argv);
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, kAssets);
    // Some history, as an office keeps it.
    Exec(db, "insert into Maintenance (AssetID, MaintenanceDate, MaintenanceDescription, "
             "MaintenancePerformedBy, MaintenanceCost) select AssetID, DateAcquired, 'Service', "
             "'Workshop', 120.5 from Assets where AssetID % 4 = 0");
    Exec(db, "insert into Depreciation (AssetID, DepreciationDate, DepreciationAmount) "
             "select AssetID, DateAcquired, PurchasePrice / 10 from Assets where AssetID % 2 = 0");

    const double floor = Best(3, [&] { TouchRows(db); });
    std::printf("%d assets; floor (stepping, touching every text) %.1f ms\n", kAssets,
                floor * 1000);

    const QStringList keys = Keys(db, kAssets);
    for (const auto& [what, path, format] :
         {std::tuple{"export to .xlsx (with histories)", env.root() + "/all.xlsx",
                     ExportFormat::Xlsx},
          std::tuple{"export to .csv", env.root() + "/all.csv", ExportFormat::Csv}}) {
        const double seconds = Best(2, [&] { ExportAssets(path, format, keys, {}); });
        Print(what, seconds, floor);
        std::printf("%-36s %9.1f MB\n", "  file size", QFileInfo(path).size() / 1048576.0);
    }

    // Ten thousand lines into an inventory that has the lookups but none of the assets.
    const QString lines = env.root() + "/lines.csv";
    ExportAssets(lines, ExportFormat::Csv, Keys(db, kImported), {});
    Exec(db, "delete from Assets");
    ImportPlan plan;
    const double planning = Best(1, [&] {
        QFile file(lines);
        file.open(QIODevice::ReadOnly);
        plan = PlanImport(file);
    });
    const double writing = Best(1, [&] { ExecuteAllOrNothing(plan.statements); });
    std::printf("import of %d lines: %d to add, %zu problems\n", kImported, plan.adds,
                plan.problems.size());
    Print("  read and plan", planning, floor);
    Print("  write in one transaction", writing, floor);
    Print("import (both)", planning + writing, floor);
    return 0;
}
