#include "data/AllOrNothing.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A writer killed at any moment leaves the working database whole: every command is either
// stored completely or not at all.
class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWritersLeaveEveryCommandWholeOrAbsent();
    void aSecondCopyWaitsForTheOthersWrite();
    void aFullDiskRefusesTheWriteAndKeepsTheData();
};

namespace {

constexpr int kHistoryRows = 3;

// The program's own commands, endlessly: add an asset, its histories one row at a time,
// change it, and delete an older one with its histories.
[[noreturn]] void WriteUntilKilled(const QString& connectionString, quint32 seed)
{
    QRandomGenerator random(seed);
    g_Conn = std::make_unique<Connection>();
    g_Conn->Open(connectionString);
    for (long long n = 0;; ++n) {
        const QString tag = QString::number(seed) + "-" + QString::number(n);
        g_Conn->Execute("insert into Assets (AssetDescription,ModelNumber,SerialNumber) values (" +
                        TextLiteral("asset " + tag) + "," + TextLiteral("M" + tag) + "," +
                        TextLiteral("S" + tag) + ")");
        Recordset rs;
        rs.Open("select max(AssetID) as [MaxID] from Assets", *g_Conn, 3, 1);
        const QString id = IdLiteral(rs.Fields("MaxID").Value.longValue());
        ExecuteAllOrNothing(
            QStringList(kHistoryRows, "insert into Maintenance (AssetID,MaintenanceCost) values (" +
                                          id + ",CCur('10.25'))") +
            QStringList(kHistoryRows, "insert into Depreciation "
                                      "(AssetID,DepreciationAmount) values (" +
                                          id + ",CCur('5'))"));
        g_Conn->Execute("update Assets set ModelNumber=" + TextLiteral("N" + tag) +
                        ",SerialNumber=" + TextLiteral("N" + tag) + " where AssetID=" + id);
        if (random.bounded(3) == 0) {
            const QString old = IdLiteral(random.bounded(1, int(n + 2)));
            ExecuteAllOrNothing({"delete from Assets where AssetID=" + old,
                                 "delete from Depreciation where AssetID=" + old,
                                 "delete from Maintenance where AssetID=" + old});
        }
    }
}

QString Scalar(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    QString value;
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return value;
}

QString OpenString(const QString& path)
{
    return "provider=microsoft.jet.oledb.4.0;data source=" + path + ";JET OLEDB:Database Password=";
}

// Another running copy: writes a status inside a transaction held for the given time, and
// says on the pipe when it holds the lock.
pid_t HoldWriteLock(const QString& path, int holdMs, int pipeOut)
{
    const pid_t child = fork();
    if (child != 0)
        return child;
    try {
        Connection other;
        other.Open(OpenString(path));
        other.BeginTrans();
        other.Execute("insert into Status (Status) values ('Other copy')");
        write(pipeOut, "x", 1);
        QThread::msleep(holdMs);
        other.CommitTrans();
    } catch (...) {
        _exit(3);
    }
    _exit(0);
}

} // namespace

void TestCrash::killedWritersLeaveEveryCommandWholeOrAbsent()
{
    TestEnvironment env;
    env.OpenDatabase();
    env.CloseDatabase();
    const QString connection =
        "provider=microsoft.jet.oledb.4.0;data source=" + env.workingDatabase() +
        ";JET OLEDB:Database Password=";
    QRandomGenerator random(20261207);
    int kills = 0;
    for (int round = 0; round < 150; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            try {
                WriteUntilKilled(connection, quint32(round + 1));
            } catch (...) {
                _exit(3);
            }
        }
        QThread::usleep(random.bounded(2000, 40000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        // A writer that stopped on its own met an error, which would hide the crash.
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString("round %1").arg(round)));
        ++kills;

        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(env.workingDatabase().toUtf8().constData(), &db,
                                 SQLITE_OPEN_READWRITE, nullptr),
                 SQLITE_OK);
        QCOMPARE(Scalar(db, "PRAGMA integrity_check"), QString("ok"));
        // No history without its asset, none cut short, and no asset changed by halves.
        QCOMPARE(Scalar(db, "select count(*) from Maintenance where AssetID not in "
                            "(select AssetID from Assets)"),
                 QString("0"));
        QCOMPARE(Scalar(db, "select count(*) from Depreciation where AssetID not in "
                            "(select AssetID from Assets)"),
                 QString("0"));
        QCOMPARE(Scalar(db, "select count(*) from (select AssetID from Maintenance group by "
                            "AssetID having count(*) <> 3 union all select AssetID from "
                            "Depreciation group by AssetID having count(*) <> 3)"),
                 QString("0"));
        QCOMPARE(Scalar(db, "select count(*) from Assets where substr(ModelNumber,2) <> "
                            "substr(SerialNumber,2) or substr(ModelNumber,1,1) || "
                            "substr(SerialNumber,1,1) not in ('MS','NN')"),
                 QString("0"));
        sqlite3_close(db);
    }
    env.OpenDatabase();
    qInfo("%d writers killed; %lld assets and %lld maintenance rows survive whole", kills,
          QueryCount("select count(*) from Assets"),
          QueryCount("select count(*) from Maintenance"));
    QVERIFY(QueryCount("select count(*) from Assets") > 0);
}

void TestCrash::aSecondCopyWaitsForTheOthersWrite()
{
    TestEnvironment env;
    env.OpenDatabase();
    for (const int holdMs : {800, 7000}) {
        int fds[2];
        QVERIFY(pipe(fds) == 0);
        const pid_t other = HoldWriteLock(env.workingDatabase(), holdMs, fds[1]);
        char ready = 0;
        QCOMPARE(read(fds[0], &ready, 1), ssize_t(1));
        QCOMPARE(QueryCount("select count(*) from Assets"), 0);
        QString refused;
        try {
            g_Conn->Execute("insert into Status (Status) values ('This copy')");
        } catch (const RuntimeError& error) {
            refused = error.Description();
        }
        // Within the five seconds of waiting the write goes through; past them it is
        // refused with a description, and the other copy's write is kept either way.
        QCOMPARE(refused.isEmpty(), holdMs < 5000);
        int status = 0;
        waitpid(other, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ::close(fds[0]);
        ::close(fds[1]);
    }
    QCOMPARE(QueryCount("select count(*) from Status where Status='Other copy'"), 2);
    QCOMPARE(QueryCount("select count(*) from Status where Status='This copy'"), 1);
}

void TestCrash::aFullDiskRefusesTheWriteAndKeepsTheData()
{
    TestEnvironment env;
    env.OpenDatabase();
    g_Conn->Execute("insert into Vendors (VendorName) values ('Kept before')");
    env.CloseDatabase();
    const qint64 size = QFileInfo(env.workingDatabase()).size();
    const pid_t child = fork();
    if (child == 0) {
        // Files may grow by a few pages only, as on a disk that is nearly full or under a
        // file-size limit; passing the limit must not end the program with SIGXFSZ.
        const rlimit limit{rlim_t(size + 16384), rlim_t(size + 16384)};
        setrlimit(RLIMIT_FSIZE, &limit);
        Connection writer;
        writer.Open(OpenString(env.workingDatabase()));
        try {
            for (;;)
                writer.Execute("insert into Vendors (VendorName) values (" +
                               TextLiteral(QString(10000, 'v')) + ")");
        } catch (const RuntimeError& error) {
            _exit(error.Description().startsWith("database or disk is full") ? 0 : 4);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
             "the write past the limit was not reported as a full disk");
    env.OpenDatabase();
    QCOMPARE(QueryText("PRAGMA integrity_check"), QString("ok"));
    QCOMPARE(QueryText("select VendorName from Vendors where VendorID=1"), QString("Kept before"));
    g_Conn->Execute("insert into Vendors (VendorName) values ('Written after')");
    QCOMPARE(QueryCount("select count(*) from Vendors where VendorName='Written after'"), 1);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "test_crash.moc"
