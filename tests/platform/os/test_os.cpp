#include "common/Files.h"
#include "common/Settings.h"
#include "platform/os/AddressWidth.h"
#include "platform/os/Clock.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/RunAndWait.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

// The data folder, the file tests, the settings store, the program folder, today's date,
// the machine's address width and running a package to its end.
class TestOs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Program(const QString& name, const QByteArray& body, bool executable = true)
    {
        QFile file(m_dir.path() + "/" + name);
        file.open(QIODevice::WriteOnly);
        file.write(body);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return file.fileName();
    }

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

    void programFolderTodayAndAddressWidth()
    {
        {
            TestEnvironment env;
            QCOMPARE(ProgramFolder(), env.programFolder());
            QCOMPARE(Today(), QDate(2026, 12, 7));
        }
        QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
        QCOMPARE(Today(), QDate::currentDate());
        for (const char* wide : {"x86_64", "aarch64", "arm64", "ppc64le"})
            QCOMPARE(AddressWidthOfMachine(wide), QString("64"));
        for (const char* narrow : {"i686", "armv7l", "ppc"})
            QCOMPARE(AddressWidthOfMachine(narrow), QString("32"));
        QCOMPARE(AddressWidthOfMachine("z80"), QString());
        QVERIFY(GetProcessorAddressWidth() == "64" || GetProcessorAddressWidth() == "32");
    }

    void runWaitsForThePackageServingEventsAndGivesItsExitCode()
    {
        const QString done = m_dir.path() + "/done";
        const QString path =
            Program("pkg.msu", "#!/bin/sh\nsleep 0.3\ntouch '" + done.toUtf8() + "'\nexit 3\n");
        bool eventsServed = false;
        QTimer::singleShot(50, this, [&] { eventsServed = true; });
        QCOMPARE(RunAndWait(path, 0), 3);
        QVERIFY(QFile::exists(done));
        QVERIFY(eventsServed);
        for (int style : {-1, 6, 7})
            QCOMPARE(RunAndWait(Program("ok.msu", "#!/bin/sh\nexit 7\n"), style), 7);
        QCOMPARE(RunAndWait(Program("killed.msu", "#!/bin/sh\nkill -9 $$\n")), 128 + 9);
    }

    void runFailuresGiveTheirNumberAndNoShellReadsTheName()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QCOMPARE(RunAndWait(Program("fix; touch injected", "#!/bin/sh\nexit 5\n")), 5);
        QCOMPARE(RunAndWait(m_dir.path() + "/none; touch injected"), kStartErrorBase + 2);
        QVERIFY(!QFile::exists(m_dir.path() + "/injected"));
        QCOMPARE(RunAndWait(Program("plain.msu", "#!/bin/sh\n", false)), kStartErrorBase + 13);
        QCOMPARE(RunAndWait(m_dir.path()), kStartErrorBase + 13);
        QCOMPARE(RunAndWait(Program("broken.msu", QByteArray("\x7f"
                                                             "ELF\x01\x02",
                                                             6))),
                 kStartErrorBase + 8);
        QCOMPARE(kStartErrorBase, -2147221504);
    }
};

QTEST_GUILESS_MAIN(TestOs)
#include "test_os.moc"
