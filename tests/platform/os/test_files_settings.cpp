#include "common/Files.h"
#include "common/Settings.h"
#include "platform/os/Clock.h"
#include "platform/os/ProgramFolder.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// The data folder, the file tests, the settings store, the program folder and today's date.
class TestFilesSettings : public QObject
{
    Q_OBJECT

private slots:
    void dataFolderFollowsTheDesktopRule()
    {
        TestEnvironment env;
        QCOMPARE(GetSpecialFolder(35), env.dataHome());
        qputenv("XDG_DATA_HOME", (env.dataHome() + "//").toUtf8());
        QCOMPARE(GetSpecialFolder(35), env.dataHome());
        qputenv("XDG_DATA_HOME", "relative/path");
        QCOMPARE(GetSpecialFolder(35), QDir::homePath() + "/.local/share");
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(GetSpecialFolder(35), QDir::homePath() + "/.local/share");
        QCOMPARE(GetSpecialFolder(26), QString());
        const QString fresh = env.root() + "/new-account/share";
        qputenv("XDG_DATA_HOME", fresh.toUtf8());
        QCOMPARE(GetSpecialFolder(35), fresh);
        QVERIFY(QFileInfo(fresh).isDir());
    }

    void fileAndEntryTests()
    {
        TestEnvironment env;
        const QString file = env.root() + "/HAND-M.CUR";
        QFile(file).open(QIODevice::WriteOnly);
        QVERIFY(FileExists(file));
        QVERIFY(!FileExists(env.root() + "/hand-m.cur"));
        QVERIFY(!FileExists(env.root()));
        QVERIFY(!FileExists(QString()));
        QVERIFY(!FileExists(env.root() + "/missing/x"));
        QVERIFY(EntryExists(file));
        QVERIFY(EntryExists(env.root()));
        QVERIFY(!EntryExists(env.root() + "/missing"));
        QFile::link(env.root() + "/nowhere", env.root() + "/dangling");
        QVERIFY(EntryExists(env.root() + "/dangling"));
    }

    void settingsAreTextByApplicationAndSection()
    {
        TestEnvironment env;
        QCOMPARE(GetSetting("Velquor", "Tarnwick", "ColumnHeaders1", "1200"), QString("1200"));
        for (const QString& value :
             {QString("0"), QString("1,5"), QString("a=b;c #d"), QString(" spaced "), QString()}) {
            SaveSetting("Velquor", "Tarnwick", "WindowState", value);
            QCOMPARE(GetSetting("Velquor", "Tarnwick", "WindowState", "x"), value);
        }
        QCOMPARE(GetSetting("Velquor", "Other", "WindowState", "none"), QString("none"));
        QCOMPARE(GetSetting("Other", "Tarnwick", "WindowState", "none"), QString("none"));
        QVERIFY(QFile::exists(env.root() + "/config/Velquor/Velquor.ini"));
    }

    void programFolderAndToday()
    {
        {
            TestEnvironment env;
            QCOMPARE(ProgramFolder(), env.programFolder());
            QCOMPARE(Today(), QDate(2026, 12, 7));
        }
        QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
        QCOMPARE(Today(), QDate::currentDate());
    }
};

QTEST_GUILESS_MAIN(TestFilesSettings)
#include "test_files_settings.moc"
