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

    QString Script(const QString& name, const QByteArray& body, bool executable = true)
    {
        const QString path = m_dir.path() + "/" + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }

    QString Marker() const { return m_dir.path() + "/marker"; }

private slots:
    void init() { QFile::remove(Marker()); }

    void returnsTheExitCodeAfterTheProgramHasEnded()
    {
        const QString marker = Marker();
        const QString path =
            Script("pkg.msu", "sleep 0.3\necho done > '" + marker.toUtf8() + "'\nexit 3");
        bool eventsServed = false;
        QTimer::singleShot(50, this, [&] { eventsServed = true; });
        QCOMPARE(RunAndWait(path, 0), 3);
        QVERIFY(QFile::exists(marker));
        // The user interface kept serving its events during the wait.
        QVERIFY(eventsServed);
        QCOMPARE(RunAndWait(Script("ok.msu", "exit 0")), 0);
        QCOMPARE(RunAndWait(Script("killed.msu", "kill -9 $$")), 128 + 9);
    }

    void anyWindowStyleRunsTheProgram()
    {
        const QString path = Script("styled.msu", "exit 7");
        for (int style : {-1, 0, 6, 7})
            QCOMPARE(RunAndWait(path, style), 7);
    }

    void theNameIsNeverReadByAShell()
    {
        // Blanks and shell characters are part of the file's name; a shell would make the
        // file "injected" in the working folder.
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const QString injected = m_dir.path() + "/injected";
        QCOMPARE(RunAndWait(Script("fix me; touch injected", "exit 5"), 0), 5);
        QCOMPARE(RunAndWait(m_dir.path() + "/none.msu; touch injected", 0),
                 kStartErrorBase + kStartErrorNotFound);
        QVERIFY(!QFile::exists(injected));
    }

    void aProgramThatCannotStartGivesItsErrorNumber()
    {
        QCOMPARE(RunAndWait(m_dir.path() + "/missing.msu", 0), -2147221504 + 2);
        QCOMPARE(RunAndWait(Script("plain.msu", "exit 0", false), 0), -2147221504 + 13);
        QCOMPARE(RunAndWait(m_dir.path(), 0), -2147221504 + 13);
        QFile garbage(m_dir.path() + "/garbage.msu");
        garbage.open(QIODevice::WriteOnly);
        garbage.write(QByteArray("\x7f"
                                 "ELF\x01\x02",
                                 6));
        garbage.close();
        garbage.setPermissions(garbage.permissions() | QFileDevice::ExeOwner);
        QCOMPARE(RunAndWait(garbage.fileName(), 0), -2147221504 + 8);
    }

    void machineNamesGiveTheirAddressWidth()
    {
        for (const char* wide : {"x86_64", "aarch64", "arm64", "ppc64le", "riscv64", "s390x"})
            QCOMPARE(AddressWidthOfMachine(wide), QString("64"));
        for (const char* narrow : {"i686", "i386", "armv7l", "armv8l", "armv6l", "ppc"})
            QCOMPARE(AddressWidthOfMachine(narrow), QString("32"));
        QCOMPARE(AddressWidthOfMachine(""), QString());
        QCOMPARE(AddressWidthOfMachine("z80"), QString());
        // This machine is one of the known ones.
        QVERIFY(GetProcessorAddressWidth() == "64" || GetProcessorAddressWidth() == "32");
        SetAddressWidthForTesting(QString());
        QCOMPARE(GetProcessorAddressWidth(), QString());
        SetAddressWidthForTesting(std::nullopt);
        QVERIFY(!GetProcessorAddressWidth().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRunAndWait)
#include "test_runandwait.moc"
