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
    // the program (ADOFix<n>.msu) and the answers given (Yes, No, OK); then the package that
    // ran, the questions asked (Repair, Stop, Help) and whether the program ended before its
    // window showed.
    void theCheckAsksRepairsAndEndsOrGoesOn()
    {
        const QString help =
            "Please check for MDAC installation.\r\n\r\n"
            "Please check this: https://support.tarnwick.example/kb/2640696 and look for 'How to "
            "obtain this update' section and download the appropriate update.\r\n\r\n"
            "Please email support@tarnwick.example with a screenshot of this message if you have "
            "any questions.";
        const struct
        {
            bool working;
            const char *width, *packages, *answers, *installed, *questions;
            bool ends;
        } starts[] = {
            {true, "64", "64", "", "", "", false},
            {false, "64", "64 86", "YY", "64", "RS", true},
            {false, "32", "64 86", "YN", "86", "RS", false},
            {false, "", "64 86", "YN", "86", "RS", false},
            {false, "128", "64 86", "YN", "86", "RS", false},
            {false, "64", "", "Y", "", "R", false},
            {false, "64", "64", "NO", "", "RH", false},
        };
        for (const auto& start : starts) {
            init();
            SetObjectFactoryFailureForTesting(!start.working);
            SetAddressWidthForTesting(QString(start.width));
            TestEnvironment env;
            for (const QString& bits : QString(start.packages).split(' ', Qt::SkipEmptyParts))
                AddPackage(env, "ADOFix" + bits + ".msu");
            for (const QChar answer : QString(start.answers))
                env.boxes.ExpectMessage(answer == 'Y'   ? BoxAnswer::Yes
                                        : answer == 'N' ? BoxAnswer::No
                                                        : BoxAnswer::OK);
            QStringList questions;
            for (const QChar question : QString(start.questions))
                questions << (question == 'R'   ? kRepairQuestion
                              : question == 'S' ? kStopQuestion
                                                : help);
            const QString builtInTitle = AppTitle();
            Form1 form;
            form.Form_Load();
            // A package had finished when the next question came.
            const QString ran = QString("ADOFix%1.msu").arg(start.installed);
            QCOMPARE(Installed(env), *start.installed
                                         ? QStringList({ran + " started", ran + " finished"})
                                         : QStringList());
            QCOMPARE(env.boxes.prompts(), questions);
            for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
                QCOMPARE(box.request.buttons,
                         box.request.prompt == help ? BoxButtons::OK : BoxButtons::YesNo);
                QVERIFY(box.request.icon == BoxIcon::None && box.request.title == builtInTitle);
            }
            if (start.ends) {
                QVERIFY(form.EndRequested());
                QVERIFY(!form.isVisible());
                // No later start-up step ran: no caption, no connection, no list columns.
                QVERIFY(form.windowTitle() != "Tarnwick");
                QVERIFY(!g_Conn);
                QCOMPARE(form.ListView1->ColumnCount(), 0);
            } else {
                QVERIFY(!form.EndRequested() && g_Conn &&
                        g_Conn->State() == Connection::adStateOpen);
                QCOMPARE(form.ListView1->ColumnCount(), 19);
            }
        }
    }
};

QTEST_MAIN(TestAdoCheck)
#include "test_adocheck.moc"
