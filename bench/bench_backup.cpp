// How long a backup and a restore of 100 000 assets take, against copying the database file's
// bytes to a synced file.
#include "BenchSupport.h"
#include "backup/Backups.h"
#include "backup/Restore.h"
#include "data/Globals.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>

namespace {

constexpr int kAssets = 100000;

// The floor: the file's bytes read and written to another file, synced as a backup is.
void CopyBytes(const QString& from, const QString& to)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::exit(1);
    out.write(in.readAll());
    out.flush();
    fsync(out.handle());
}

// The best of three timed runs, each after `prepare`, which is not timed.
double BestAfter(const std::function<void()>& prepare, const std::function<void()>& work)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        prepare();
        best = std::min(best, Best(1, work));
    }
    return best;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, kAssets);
    // Two maintenance entries and one depreciation entry for each asset.
    Exec(db, "insert into Maintenance (AssetID, MaintenanceDate, MaintenanceDescription, "
             "MaintenancePerformedBy, MaintenanceCost) select AssetID, DateAcquired, "
             "'Yearly service', 'Front desk', PurchasePrice / 20 from Assets union all select "
             "AssetID, NextSchedMaint, 'Repair', 'Vendor', 75.5 from Assets");
    Exec(db, "insert into Depreciation (AssetID, DepreciationDate, DepreciationAmount) select "
             "AssetID, DateAcquired, PurchasePrice / 5 from Assets");
    const auto change = [&] {
        Exec(db, "update Assets set DepreciableLife = DepreciableLife + 1 where AssetID = 1");
    };

    const QString copy = env.root() + "/copy.mdb";
    const double floor = Best(3, [&] { CopyBytes(env.workingDatabase(), copy); });
    std::printf("%d assets, 300 000 history rows, %.1f MB; floor (copying the file's bytes, "
                "synced) %.1f ms\n",
                kAssets, double(QFileInfo(copy).size()) / (1024.0 * 1024.0), floor * 1000);

    QString backup;
    const double made =
        BestAfter(change, [&] { backup = MakeAutomaticBackup("before Delete All"); });
    Print("backup (copy, integrity check, rename)", made, floor);
    Print("backup skipped, nothing changed", Best(3, [&] { MakeAutomaticBackup("daily"); }), floor);

    const double check = Best(3, [&] { CheckRestorable(backup); });
    Print("restore: check of the file", check, floor);
    const double replace = BestAfter(change, [&] { ReplaceWorkingDatabase(backup); });
    Print("restore: copy into the inventory", replace, floor);
    const double whole = BestAfter(change, [&] {
        CheckRestorable(backup);
        BackUpBefore("Restore");
        ReplaceWorkingDatabase(backup);
    });
    Print("restore with the backup before it", whole, floor);
    std::printf("%s: a backup takes %.2f s (at most 1 s), a restore %.2f s (at most 2 s)\n",
                made <= 1 && whole <= 2 ? "within bounds" : "TOO SLOW", made, whole);
    return 0;
}
