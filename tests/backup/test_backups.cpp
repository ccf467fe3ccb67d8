#include "backup/BackupFixture.h"
#include "backup/BackupNames.h"
#include "mainwindow/CommandsFixture.h"
#include "platform/RuntimeError.h"
#include "platform/os/Clock.h"

#include <QFile>
#include <csignal>
#include <sys/resource.h>

// Automatic backups: one a day however often the program starts, thinned by the keeping rule,
// and a delete that cannot be backed up is not started.
class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void aHundredStartsMakeOneBackupADay();
    void aYearOfBackupsIsThinnedByTheKeepingRule();
    void aDeleteThatCannotBeBackedUpDoesNotRun_data();
    void aDeleteThatCannotBeBackedUpDoesNotRun();
};

namespace {

void Change()
{
    g_Conn->Execute("insert into Status (Status) values ('changed')");
}

} // namespace

void TestBackups::aHundredStartsMakeOneBackupADay()
{
    TestEnvironment env;
    const QDate day = TestEnvironment::pinnedToday();
    SetNowForTesting(QDateTime(day, QTime(8, 0)));
    for (int start = 0; start < 100; ++start)
        StartMainWindow();
    QCOMPARE(BackupFiles(), QStringList({".last-backup", "2026-12-07 08.00.00 daily.mdb"}));

    // A change waits for the next day's first start; a day without changes makes none.
    Change();
    StartMainWindow();
    QCOMPARE(BackupFiles().size(), 2);
    for (int next = 1; next <= 2; ++next) {
        SetNowForTesting(QDateTime(day.addDays(next), QTime(9, 30)));
        StartMainWindow();
    }
    QCOMPARE(BackupFiles(), QStringList({".last-backup", "2026-12-07 08.00.00 daily.mdb",
                                         "2026-12-08 09.30.00 daily.mdb"}));
    QCOMPARE(Content(BackupFolder() + "/2026-12-08 09.30.00 daily.mdb"),
             Content(env.workingDatabase()));
}

// A backup every fourth day for most of a year, then one a day, then three a day for ten days:
// the newest 20 stay, one a day for the last 30 days and one a month for a year, nothing older.
void TestBackups::aYearOfBackupsIsThinnedByTheKeepingRule()
{
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3_exec(g_Conn->Handle(), "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    const QDate first(2026, 1, 1);
    QDateTime now;
    for (int day = 0; day < 400; day += day < 360 ? 4 : 1) {
        for (int n = 0; n < (day < 390 ? 1 : 3); ++n) {
            now = QDateTime(first.addDays(day), QTime(9 + 3 * n, 0));
            SetNowForTesting(now);
            Change();
            MakeAutomaticBackup("daily");
        }
    }
    const QList<BackupEntry> kept = ListBackups(BackupFolder());
    // 20 newest, 23 more days, and the last day of each month from February to December.
    QCOMPARE(kept.size(), 54);
    QCOMPARE(kept[19].time, QDateTime(first.addDays(393), QTime(12, 0)));
    QSet<QDate> days;
    QSet<int> months;
    for (int i = 0; i < kept.size(); ++i) {
        const QDate date = kept[i].time.date();
        QVERIFY(kept[i].time >= now.addYears(-1));
        QVERIFY2(i < 20 || !days.contains(date), qPrintable(kept[i].path));
        const int month = date.year() * 12 + date.month();
        QVERIFY2(date >= now.date().addDays(-29) || !months.contains(month),
                 qPrintable(kept[i].path));
        days.insert(date);
        months.insert(month);
    }
    for (int back = 0; back < 30; ++back)
        QVERIFY(days.contains(now.date().addDays(-back)));
    QCOMPARE(months.size(), 13); // February to February

    // Two years on and nothing changed: no new backup, so none is removed; after the next one
    // the newest 20 stay, however old.
    SetNowForTesting(now.addYears(2));
    DailyBackup();
    QCOMPARE(ListBackups(BackupFolder()).size(), 54);
    Change();
    MakeAutomaticBackup("daily");
    QCOMPARE(ListBackups(BackupFolder()).size(), 20);
}

void TestBackups::aDeleteThatCannotBeBackedUpDoesNotRun_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("a file where the folder should be") << false;
    QTest::newRow("a full disk") << true;
}

void TestBackups::aDeleteThatCannotBeBackedUpDoesNotRun()
{
    QFETCH(bool, fullDisk);
    TestEnvironment env;
    auto form = StartMainWindow();
    AddAssets(g_Conn->Handle(), 3);
    form->ListData();
    const QStringList before = BackupFiles();
    const QString folder = BackupFolder();
    if (!fullDisk)
        QVERIFY(QDir(folder).removeRecursively() && QFile(folder).open(QIODevice::WriteOnly));
    // Files may grow to 16 KiB only, and a write past it fails instead of ending the program.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{fullDisk ? 16384 : limit.rlim_cur, limit.rlim_max};
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    env.boxes.ExpectMessage(BoxAnswer::Yes);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Click(*form, "PushButton5");
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);

    const QString report = env.boxes.prompts().value(1);
    QVERIFY2(report.startsWith("The inventory could not be backed up before Delete All, so "
                               "nothing was changed.") &&
                 report.contains(CommandLocation("PushButton5_Click", 104)),
             qPrintable(report));
    QCOMPARE(form->ListView1->ItemCount(), 3);
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 6);
    if (fullDisk)
        QCOMPARE(BackupFiles(), before);
    // Nor may a backup chosen by name take the place of the inventory it copies.
    QVERIFY_THROWS_EXCEPTION(RuntimeError, WriteBackup(env.workingDatabase()));
    QCOMPARE(QueryCount("select count(*) from Assets"), 3);
}

QTEST_MAIN(TestBackups)
#include "test_backups.moc"
