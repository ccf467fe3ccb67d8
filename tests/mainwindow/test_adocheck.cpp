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

    // Each start: the engine working or not, the address width, the repair packages beside
    // the program and the answers given; then what was installed, what was asked and whether
    // the program ended before its window showed.
    void theCheckAsksRepairsAndEndsOrGoesOn()
    {
        const QString help =
            "Please check for MDAC installation.\r\n\r\n"
            "Please check this: https://support.tarnwick.example/kb/2640696 and look for 'How to "
            "obtain this update' section and download the appropriate update.\r\n\r\n"
            "Please email support@tarnwick.example with a screenshot of this message if you have "
            "any questions.";
        const QStringList both{"ADOFix64.msu", "ADOFix86.msu"};
        const struct
        {
            bool working;
            QString width;
            QStringList packages;
            QList<BoxAnswer> answers;
            QString installed;
            QStringList prompts;
            bool ends;
        } starts[] = {
            {true, "64", {"ADOFix64.msu"}, {}, {}, {}, false},
            {false,
             "64",
             both,
             {BoxAnswer::Yes, BoxAnswer::Yes},
             "ADOFix64.msu",
             {kRepairQuestion, kStopQuestion},
             true},
            {false,
             "32",
             both,
             {BoxAnswer::Yes, BoxAnswer::No},
             "ADOFix86.msu",
             {kRepairQuestion, kStopQuestion},
             false},
            {false,
             "",
             both,
             {BoxAnswer::Yes, BoxAnswer::No},
             "ADOFix86.msu",
             {kRepairQuestion, kStopQuestion},
             false},
            {false,
             "128",
             both,
             {BoxAnswer::Yes, BoxAnswer::No},
             "ADOFix86.msu",
             {kRepairQuestion, kStopQuestion},
             false},
            {false, "64", {}, {BoxAnswer::Yes}, {}, {kRepairQuestion}, false},
            {false,
             "64",
             {"ADOFix64.msu"},
             {BoxAnswer::No, BoxAnswer::OK},
             {},
             {kRepairQuestion, help},
             false},
        };
        for (const auto& start : starts) {
            init();
            SetObjectFactoryFailureForTesting(!start.working);
            SetAddressWidthForTesting(start.width);
            TestEnvironment env;
            for (const QString& package : start.packages)
                AddPackage(env, package);
            for (BoxAnswer answer : start.answers)
                env.boxes.ExpectMessage(answer);
            const QString builtInTitle = AppTitle();
            Form1 form;
            form.Form_Load();
            // A package had finished when the next question came.
            QCOMPARE(Installed(env), start.installed.isEmpty()
                                         ? QStringList()
                                         : QStringList({start.installed + " started",
                                                        start.installed + " finished"}));
            QCOMPARE(env.boxes.prompts(), start.prompts);
            for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
                QCOMPARE(box.request.buttons,
                         box.request.prompt == help ? BoxButtons::OK : BoxButtons::YesNo);
                QCOMPARE(box.request.icon, BoxIcon::None);
                QCOMPARE(box.request.title, builtInTitle);
            }
            if (start.ends) {
                QVERIFY(form.EndRequested());
                QVERIFY(!form.isVisible());
                // No later start-up step ran: no caption, no connection, no list columns.
                QVERIFY(form.windowTitle() != "Tarnwick");
                QVERIFY(!g_Conn);
                QCOMPARE(form.ListView1->ColumnCount(), 0);
            } else {
                QVERIFY(StartUpWentOn(form));
            }
        }
    }
};

QTEST_MAIN(TestAdoCheck)
#include "test_adocheck.moc"
