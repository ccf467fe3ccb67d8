#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"

#include "common/Settings.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// A working database or settings the user may not write to, or a database that is damaged: the
// program reports each step it cannot take with its place, and leaves the file as it was.
class TestDataFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void storedDataIsShownAndWritesAreReported_data();
    void storedDataIsShownAndWritesAreReported();
    void aDataFolderThatCannotBeMadeIsReported();
    void aDamagedOrLockedDatabaseIsReportedAndNeverReplaced();
    void settingsThatCannotBeSavedAreReportedAndKept_data();
    void settingsThatCannotBeSavedAreReportedAndKept();
};

namespace {

constexpr QFile::Permissions kReadOnlyFile = QFile::ReadOwner | QFile::ReadGroup;
constexpr QFile::Permissions kReadOnlyFolder = kReadOnlyFile | QFile::ExeOwner | QFile::ExeGroup;
constexpr QFile::Permissions kWritableFolder = kReadOnlyFolder | QFile::WriteOwner;

} // namespace

// Root may write anywhere; the checks run as an ordinary user, as the program does.
void TestDataFile::initTestCase()
{
    if (geteuid() == 0)
        QVERIFY(setegid(65534) == 0 && seteuid(65534) == 0);
}

void TestDataFile::cleanupTestCase()
{
    if (getuid() == 0)
        QVERIFY(seteuid(0) == 0 && setegid(0) == 0);
}

void TestDataFile::storedDataIsShownAndWritesAreReported_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void TestDataFile::storedDataIsShownAndWritesAreReported()
{
    QFETCH(bool, folder);
    TestEnvironment env;
    env.OpenDatabase();
    AddMaintenance(AddAsset(AssetRow(AddLookupRows())), "CCur('5')");
    env.CloseDatabase();
    const QString locked = folder ? QFileInfo(env.workingDatabase()).path() : env.workingDatabase();
    QVERIFY(QFile::setPermissions(locked, folder ? kReadOnlyFolder : kReadOnlyFile));
    const QByteArray before = Digest(env.workingDatabase());

    // The day's backup cannot be made in a folder the user may not write to, and says so.
    if (folder)
        env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = StartMainWindow();
    QCOMPARE(env.boxes.prompts().join("").contains(CommandLocation("Form_Load", 124)), folder);
    QCOMPARE(form->ListView1->ItemCount(), 1);
    for (const char* button : {"PushButton3", "PushButton5"}) {
        env.boxes.clear();
        form->ListView1->SelectItem(0);
        env.boxes.ExpectMessage(BoxAnswer::Yes);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, button);
        QCOMPARE(env.boxes.shown().size(), 2);
        const RecordingBoxes::Shown& report = env.boxes.shown()[1];
        QCOMPARE(report.request.title, QString("Application Error"));
        QVERIFY2(report.request.prompt.contains(
                     CommandLocation(QByteArray(button).append("_Click").constData(), 104)),
                 qPrintable(report.request.prompt));
        QCOMPARE(form->ListView1->ItemCount(), 1);
    }
    form->close();
    QCOMPARE(Digest(env.workingDatabase()), before);

    // Once writable again the data is whole and takes writes.
    QVERIFY(QFile::setPermissions(locked,
                                  folder ? kWritableFolder : kReadOnlyFile | QFile::WriteOwner));
    env.OpenDatabase();
    QCOMPARE(QueryText("PRAGMA integrity_check"), QString("ok"));
    QCOMPARE(QueryCount("select count(*) from Assets") + QueryCount("select count(*) from "
                                                                    "Maintenance"),
             2LL);
    g_Conn->Execute("delete from Maintenance");
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 0LL);
}

// On a first start in a folder the user may not write to, nothing is made and each step
// that needs the database says so.
void TestDataFile::aDataFolderThatCannotBeMadeIsReported()
{
    TestEnvironment env;
    QVERIFY(QFile::setPermissions(env.dataHome(), kReadOnlyFolder));
    for (int n = 0; n < 3; ++n)
        env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = StartMainWindow();
    const QStringList prompts = env.boxes.prompts();
    QCOMPARE(prompts.size(), 3);
    QVERIFY2(prompts[0].contains("cannot create the folder") &&
                 prompts[0].contains(CommandLocation("Form_Load", 100)),
             qPrintable(prompts[0]));
    QVERIFY(prompts[1].contains(CommandLocation("Form_Load", 114)));
    QVERIFY(prompts[2].contains(CommandLocation("ListData", 102)));
    QCOMPARE(QDir(env.dataHome()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
    QCOMPARE(form->windowTitle(), QString("Tarnwick"));
    QVERIFY(QFile::setPermissions(env.dataHome(), kWritableFolder));
}

// A working database that is no database, only the first half of one, or one that another
// program holds locked is reported where it is opened, each for what it is; the program
// neither replaces nor repairs it.
void TestDataFile::aDamagedOrLockedDatabaseIsReportedAndNeverReplaced()
{
    for (const QString kind : {"letter", "truncated", "locked"}) {
        TestEnvironment env;
        QDir().mkpath(QFileInfo(env.workingDatabase()).path());
        QFile file(env.workingDatabase());
        if (kind == "letter") {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Dear supplier, this is no database.\n");
            file.close();
        } else {
            QVERIFY(QFile::copy(TemplateDatabasePath(), file.fileName()));
            QVERIFY(kind != "truncated" || file.resize(file.size() / 2));
        }
        sqlite3* other = nullptr;
        if (kind == "locked") {
            sqlite3_open(file.fileName().toUtf8().constData(), &other);
            QCOMPARE(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        const QByteArray before = Digest(file.fileName());
        for (int n = 0; n < 3; ++n)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        auto form = StartMainWindow();
        const QStringList prompts = env.boxes.prompts();
        QVERIFY2(!prompts.isEmpty() && prompts[0].contains(CommandLocation("Form_Load", 114)) &&
                     prompts[0].contains("in use by another program") == (kind == "locked"),
                 qPrintable(prompts.join('\n')));
        QCOMPARE(form->ListView1->ItemCount(), 0);
        form->close();
        sqlite3_close(other);
        QCOMPARE(Digest(file.fileName()), before);
    }
}

QTEST_MAIN(TestDataFile)
#include "test_datafile.moc"

void TestDataFile::settingsThatCannotBeSavedAreReportedAndKept_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only folder") << true;
    QTest::newRow("nearly full disk") << false;
}

// Closing saves the settings in one write; one that cannot be made whole is reported once, and
// the settings saved before stay as they were, with nothing left beside them.
void TestDataFile::settingsThatCannotBeSavedAreReportedAndKept()
{
    QFETCH(bool, folder);
    TestEnvironment env;
    StartMainWindow()->close();
    const QString config = env.root() + "/config/Velquor";
    const QByteArray saved = Digest(config + "/Velquor.ini");

    auto form = StartMainWindow();
    form->ListView1->SetColumnWidth(2, 900);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    if (folder) {
        QVERIFY(QFile::setPermissions(config, kReadOnlyFolder));
    } else {
        // Files may grow to 100 bytes only, as on a disk that is nearly full.
        const rlimit nearlyFull{100, unlimited.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &nearlyFull) == 0);
    }
    form->close();
    QVERIFY(setrlimit(RLIMIT_FSIZE, &unlimited) == 0);
    signal(SIGXFSZ, oldHandler);
    QVERIFY(QFile::setPermissions(config, kWritableFolder));

    QCOMPARE(env.boxes.shown().size(), 1);
    QVERIFY(env.boxes.shown()[0].request.prompt.contains(CommandLocation("Form_QueryUnload", 102)));
    QCOMPARE(Digest(config + "/Velquor.ini"), saved);
    QCOMPARE(GetSetting("Velquor", "Tarnwick", "ColumnHeaders3"), QString("1500"));
    QCOMPARE(QDir(config).entryList(QDir::Files), QStringList("Velquor.ini"));
}
