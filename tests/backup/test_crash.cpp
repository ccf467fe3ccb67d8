#include "backup/BackupFixture.h"
#include "backup/Restore.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "platform/RuntimeError.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QThread>
#include <csignal>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

// A program killed at any moment of a backup or a restore leaves the working database whole
// with the old or the restored inventory, and every file under a backup's name whole.
class TestBackupCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedBackupsAndRestoresLeaveWholeInventories();
};

namespace {

enum Phase { Starting, BackingUp, Restoring };

// Restores the two inventories in turn, each after the backup that a restore makes first,
// saying in `phase` what it is doing.
[[noreturn]] void RestoreUntilKilled(const QString (&files)[2], volatile int* phase)
{
    try {
        g_Conn = std::make_unique<Connection>();
        g_Conn->Open(ConnectionString());
        for (int n = 0;; ++n) {
            *phase = BackingUp;
            MakeAutomaticBackup("before Restore");
            *phase = Restoring;
            ReplaceWorkingDatabase(files[n % 2]);
        }
    } catch (const RuntimeError& error) {
        qWarning("%s", qPrintable(error.Description()));
    }
    _exit(3);
}

// Opening for writing rolls back what a killed writer left half done.
QString IntegrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    QString result = sqlite3_step(statement) == SQLITE_ROW
                         ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                         : sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

} // namespace

void TestBackupCrash::killedBackupsAndRestoresLeaveWholeInventories()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddAssets(g_Conn->Handle(), 1500);
    const QString files[2] = {env.root() + "/a.mdb", env.root() + "/b.mdb"};
    WriteBackup(files[0]);
    g_Conn->Execute("delete from Assets where AssetID > 500");
    WriteBackup(files[1]);
    env.CloseDatabase();
    const QSet<QByteArray> inventories{Content(files[0]), Content(files[1])};
    QCOMPARE(inventories.size(), 2);

    auto* phase = static_cast<volatile int*>(
        mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    QRandomGenerator random(20261208);
    int kills[3] = {};
    QSet<QString> checked;
    for (int round = 0; round < 1000 && (kills[BackingUp] < 100 || kills[Restoring] < 100);
         ++round) {
        *phase = Starting;
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0)
            RestoreUntilKilled(files, phase);
        QThread::usleep(random.bounded(1000, 50000));
        kill(child, SIGKILL);
        ++kills[*phase];
        int status = 0;
        waitpid(child, &status, 0);
        // A child that stopped on its own met an error, which would hide the crash.
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString("round %1").arg(round)));

        QCOMPARE(IntegrityCheck(env.workingDatabase()), QString("ok"));
        QVERIFY(inventories.contains(Content(env.workingDatabase())));
        for (const QString& name : BackupFiles()) {
            const QFileInfo file(BackupFolder() + "/" + name);
            const QString key = name + QString::number(file.size());
            if (!name.endsWith(".mdb") || checked.contains(key))
                continue;
            QVERIFY2(inventories.contains(Content(file.filePath())), qPrintable(name));
            checked.insert(key);
        }
    }
    qInfo("killed %d times while backing up, %d while restoring; %lld backups checked",
          kills[BackingUp], kills[Restoring], static_cast<long long>(checked.size()));
    QVERIFY(kills[BackingUp] >= 100 && kills[Restoring] >= 100);
}

QTEST_GUILESS_MAIN(TestBackupCrash)
#include "test_crash.moc"
