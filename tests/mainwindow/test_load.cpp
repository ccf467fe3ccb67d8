#include "mainwindow/MainWindowFixture.h"

#include "common/Settings.h"

#include <QFile>

class TestLoad : public QObject
{
    Q_OBJECT

private slots:
    void firstStartProvisionsAndShowsAnEmptyList();
    void closeSavesWidthsAndStateForTheNextStart();
    void failingStepsAreReportedAndTheNextStepRuns();
    void aWidthThatIsNoNumberIsReportedOnce();
};

void TestLoad::firstStartProvisionsAndShowsAnEmptyList()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    QVERIFY(QFile::exists(env.workingDatabase()));
    QVERIFY(g_Conn && g_Conn->State() == Connection::adStateOpen);
    QCOMPARE(form->windowTitle(), QString("Tarnwick"));
    QVERIFY(!form->windowIcon().isNull());
    QCOMPARE(form->ListView1->ColumnWidth(0), 1200.0);
    for (int column = 1; column < 19; ++column)
        QCOMPARE(form->ListView1->ColumnWidth(column), 1500.0);
    QVERIFY(!form->m_WasMaximized);
    QCOMPARE(form->windowState(), Qt::WindowNoState);
    QVERIFY(env.boxes.shown().isEmpty());
}

void TestLoad::closeSavesWidthsAndStateForTheNextStart()
{
    TestEnvironment env;
    {
        auto form = StartMainWindow();
        form->ListView1->SetColumnWidth(2, 2250);
        form->ListView1->SetColumnWidth(4, 0);
        form->close();
        QVERIFY(!g_Conn);
    }
    QCOMPARE(GetSetting("Velquor", "Tarnwick", "ColumnHeaders3"), QString("2250"));
    // Each start shows the state the last one closed in, then closes in the next.
    const struct
    {
        QString saved;
        Qt::WindowState shown;
        void (QWidget::*next)();
    } starts[] = {{"0", Qt::WindowNoState, &QWidget::showMinimized},
                  {"1", Qt::WindowMinimized, &QWidget::showMaximized},
                  {"2", Qt::WindowMaximized, nullptr}};
    for (const auto& start : starts) {
        QCOMPARE(GetSetting("Velquor", "Tarnwick", "WindowState"), start.saved);
        auto form = StartMainWindow();
        QVERIFY(start.shown == Qt::WindowNoState ? form->windowState() == Qt::WindowNoState
                                                 : form->windowState().testFlag(start.shown));
        QCOMPARE(form->m_WasMaximized, start.shown != Qt::WindowNoState);
        QCOMPARE(form->ListView1->ColumnWidth(2), 2250.0);
        QCOMPARE(form->ListView1->ColumnWidth(4), 0.0);
        QCOMPARE(form->ListView1->ColumnWidth(0), 1200.0);
        if (start.next) {
            (form.get()->*start.next)();
            form->close();
        }
    }
}

void TestLoad::failingStepsAreReportedAndTheNextStepRuns()
{
    TestEnvironment env;
    QVERIFY(QFile::remove(env.programFolder() + "/dbBlank.mdb"));
    for (int i = 0; i < 3; ++i)
        env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = StartMainWindow();
    const QStringList prompts = env.boxes.prompts();
    QCOMPARE(prompts.size(), 3);
    QVERIFY(prompts[0].contains(CommandLocation("Form_Load", 100)));
    QVERIFY(prompts[1].contains(CommandLocation("Form_Load", 114)));
    QVERIFY(prompts[2].contains(CommandLocation("ListData", 102)));
    QCOMPARE(env.boxes.shown().at(0).request.title, QString("Application Error"));
    // The steps after the failures still ran.
    QCOMPARE(form->ListView1->ColumnCount(), 19);
    QCOMPARE(form->ListView1->ItemCount(), 0);
    QCOMPARE(form->windowTitle(), QString("Tarnwick"));
    // A connection that never opened is released without a report.
    form->close();
    QCOMPARE(env.boxes.shown().size(), 3);
    QVERIFY(!g_Conn);
}

void TestLoad::aWidthThatIsNoNumberIsReportedOnce()
{
    TestEnvironment env;
    SaveSetting("Velquor", "Tarnwick", "ColumnHeaders3", "wide");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = StartMainWindow();
    QCOMPARE(env.boxes.shown().size(), 1);
    QVERIFY(env.boxes.prompts().at(0).contains(CommandLocation("Form_Load", 118)));
    QVERIFY(form->ListView1->ColumnWidth(2) != 0.0);
    QCOMPARE(form->ListView1->ColumnWidth(3), 1500.0);
}

QTEST_MAIN(TestLoad)
#include "test_load.moc"
