#include "platform/os/AddressWidth.h"
#include "platform/os/RunAndWait.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestRunAndWait : public QObject
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
    void waitsForTheProgramServingEventsAndReturnsItsExitCode()
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

    void startFailuresGiveTheirNumberAndNoShellReadsTheName()
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

    void machineNamesGiveTheirAddressWidth()
    {
        for (const char* wide : {"x86_64", "aarch64", "arm64", "ppc64le"})
            QCOMPARE(AddressWidthOfMachine(wide), QString("64"));
        for (const char* narrow : {"i686", "armv7l", "ppc"})
            QCOMPARE(AddressWidthOfMachine(narrow), QString("32"));
        QCOMPARE(AddressWidthOfMachine("z80"), QString());
        QVERIFY(GetProcessorAddressWidth() == "64" || GetProcessorAddressWidth() == "32");
    }
};

QTEST_GUILESS_MAIN(TestRunAndWait)
#include "test_runandwait.moc"
