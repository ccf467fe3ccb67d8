#include "common/ErrorTrap.h"
#include "platform/RuntimeError.h"
#include "support/TestSupport.h"

#include <QTest>

class TestErrorTrap : public QObject
{
    Q_OBJECT

private slots:
    void reportTextAndBox()
    {
        TestEnvironment env;
        env.boxes.ExpectMessage(BoxAnswer::OK);
        ReportError("File not found", "in Tarnwick2021/08/31.Form1.Form_Load ", 104);
        const QString expected = "File not found\r\nin Tarnwick2021/08/31.Form1.Form_Load at line "
                                 "104\r\rPlease email screenshot of this message to "
                                 "support@tarnwick.example";
        QCOMPARE(env.boxes.shown().size(), 1);
        const BoxRequest& box = env.boxes.shown()[0].request;
        QCOMPARE(box.prompt, expected);
        QCOMPARE(box.title, QString("Application Error"));
        QCOMPARE(box.buttons, BoxButtons::OK);
        QCOMPARE(box.icon, BoxIcon::Exclamation);
    }

    void failingStepIsReportedAndTheNextRuns()
    {
        TestEnvironment env;
        env.boxes.ExpectMessage(BoxAnswer::OK);
        ErrorTrap trap("in Tarnwick2021/08/31.Form2.LoadData ");
        QStringList ran;
        QVERIFY(trap(100, [&] { ran << "100"; }));
        QVERIFY(!trap.Failed());
        QVERIFY(!trap(102, [&] {
            ran << "102";
            throw RuntimeError("Invalid use of Null", 94);
            ran << "after the throw";
        }));
        QVERIFY(trap(104, [&] { ran << "104"; }));
        QCOMPARE(ran, QStringList({"100", "102", "104"}));
        QVERIFY(trap.Failed());
        QCOMPARE(env.boxes.prompts(),
                 QStringList{ErrorReportText("Invalid use of Null",
                                             "in Tarnwick2021/08/31.Form2.LoadData ", 102)});
    }

    void everyKindOfFailureIsReportedOnce()
    {
        TestEnvironment env;
        for (int i = 0; i < 3; ++i)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        ErrorTrap trap("in Tarnwick2021/08/31.Form4.SetData ");
        trap(100, [] { throw RuntimeError("Type mismatch", 13); });
        trap(102, [] { throw std::out_of_range("position past the end"); });
        trap(104, [] { throw 42; });
        const QStringList prompts = env.boxes.prompts();
        QCOMPARE(prompts.size(), 3);
        QVERIFY(prompts[0].startsWith(
            "Type mismatch\r\nin Tarnwick2021/08/31.Form4.SetData at line 100\r\r"));
        QVERIFY(prompts[1].startsWith("position past the end\r\n"));
        QVERIFY(prompts[1].contains("at line 102\r\r"));
        QVERIFY(prompts[2].contains("at line 104\r\r"));
        QVERIFY(env.boxes.allAnswersUsed());
    }
};

QTEST_MAIN(TestErrorTrap)
#include "test_errortrap.moc"
