#include "mainwindow/CommandsFixture.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/ObjectFactory.h"
#include "platform/os/AddressWidth.h"
#include "platform/ui/Boxes.h"

#include <QFile>

namespace {

const QString kRepairQuestion =
    "Error #193: ADO is not properly installed on this computer. \r\n"
    "You need to have it installed to use this software without error.\r\n\r\n"
    "Would you like to repair it now?";
const QString kStopQuestion = "ADO is fixed on this computer. \r\n"
                              "You need to restart your computer and software.\r\n\r\n"
                              "Would you like to stop software now?";

// A stand-in for a repair package: notes its name when it starts and when it has finished.
void AddPackage(const TestEnvironment& env, const QString& name)
{
    QFile file(env.programFolder() + "/" + name);
    file.open(QIODevice::WriteOnly);
    const QString log = env.root() + "/installed";
    file.write(QString("#!/bin/sh\necho %1 started >> '%2'\nsleep 0.3\n"
                       "echo %1 finished >> '%2'\n")
                   .arg(name, log)
                   .toUtf8());
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QStringList Installed(const TestEnvironment& env)
{
    QFile log(env.root() + "/installed");
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

bool StartUpWentOn(const Form1& form)
{
    return !form.EndRequested() && g_Conn && g_Conn->State() == Connection::adStateOpen &&
           form.ListView1->ColumnCount() == 19;
}

} // namespace

class TestAdoCheck : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // An earlier start's connection must not pass for this one's.
        g_Conn.reset();
        SetObjectFactoryFailureForTesting(true);
        SetAddressWidthForTesting(QString("64"));
    }
    void cleanup()
    {
        SetObjectFactoryFailureForTesting(false);
        SetAddressWidthForTesting(std::nullopt);
    }

    void theFactoryMakesBothObjectsByNameOrFailsAsTheSystemDoes()
    {
        SetObjectFactoryFailureForTesting(false);
        QVERIFY(
            std::holds_alternative<std::unique_ptr<Connection>>(CreateObject("ADODB.Connection")));
        QVERIFY(
            std::holds_alternative<std::unique_ptr<Recordset>>(CreateObject("adodb.recordset")));
        for (bool failing : {false, true}) {
            SetObjectFactoryFailureForTesting(failing);
            try {
                CreateObject(failing ? "ADODB.Connection" : "ADODB.Command");
                QFAIL("created an object it should not");
            } catch (const RuntimeError& error) {
                QCOMPARE(error.Number(), 429L);
            }
        }
    }

    void aWorkingEngineShowsNothing()
    {
        SetObjectFactoryFailureForTesting(false);
        TestEnvironment env;
        AddPackage(env, "ADOFix64.msu");
        Form1 form;
        form.Form_Load();
        QCOMPARE(env.boxes.shown().size(), 0);
        QVERIFY(Installed(env).isEmpty());
        QVERIFY(StartUpWentOn(form));
    }

    void yesRepairsWaitsAndEndsTheProgramBeforeItsWindowShows()
    {
        TestEnvironment env;
        AddPackage(env, "ADOFix64.msu");
        AddPackage(env, "ADOFix86.msu");
        const QString builtInTitle = AppTitle();
        env.boxes.ExpectMessage(BoxAnswer::Yes);
        env.boxes.ExpectMessage(BoxAnswer::Yes);
        Form1 form;
        form.Form_Load();
        // The package had finished when the stop question came.
        QCOMPARE(Installed(env), QStringList({"ADOFix64.msu started", "ADOFix64.msu finished"}));
        QCOMPARE(env.boxes.prompts(), QStringList({kRepairQuestion, kStopQuestion}));
        for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
            QCOMPARE(box.request.buttons, BoxButtons::YesNo);
            QCOMPARE(box.request.icon, BoxIcon::None);
            QCOMPARE(box.request.title, builtInTitle);
        }
        QVERIFY(form.EndRequested());
        QVERIFY(!form.isVisible());
        // No later start-up step ran: no caption, no connection, no list columns.
        QVERIFY(form.windowTitle() != "Tarnwick");
        QVERIFY(!g_Conn);
        QCOMPARE(form.ListView1->ColumnCount(), 0);
    }

    void anyWidthButSixtyFourChoosesTheOtherPackage()
    {
        for (const QString width : {"32", "", "128"}) {
            SetAddressWidthForTesting(width);
            TestEnvironment env;
            AddPackage(env, "ADOFix64.msu");
            AddPackage(env, "ADOFix86.msu");
            env.boxes.ExpectMessage(BoxAnswer::Yes);
            env.boxes.ExpectMessage(BoxAnswer::No);
            Form1 form;
            form.Form_Load();
            QCOMPARE(Installed(env),
                     QStringList({"ADOFix86.msu started", "ADOFix86.msu finished"}));
            QVERIFY(StartUpWentOn(form));
        }
    }

    void withoutAPackageOrARepairStartUpGoesOn()
    {
        {
            TestEnvironment env;
            env.boxes.ExpectMessage(BoxAnswer::Yes);
            Form1 form;
            form.Form_Load();
            QCOMPARE(env.boxes.prompts(), QStringList({kRepairQuestion}));
            QVERIFY(StartUpWentOn(form));
        }
        TestEnvironment env;
        AddPackage(env, "ADOFix64.msu");
        env.boxes.ExpectMessage(BoxAnswer::No);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Form1 form;
        form.Form_Load();
        QVERIFY(Installed(env).isEmpty());
        QCOMPARE(env.boxes.shown().size(), 2);
        const BoxRequest& help = env.boxes.shown()[1].request;
        QCOMPARE(help.prompt,
                 QString("Please check for MDAC installation.\r\n\r\n"
                         "Please check this: https://support.tarnwick.example/kb/2640696 and "
                         "look for 'How to obtain this update' section and download the "
                         "appropriate update.\r\n\r\n"
                         "Please email support@tarnwick.example with a screenshot of this "
                         "message if you have any questions."));
        QCOMPARE(help.buttons, BoxButtons::OK);
        QCOMPARE(help.icon, BoxIcon::None);
        QVERIFY(StartUpWentOn(form));
    }
};

QTEST_MAIN(TestAdoCheck)
#include "test_adocheck.moc"
