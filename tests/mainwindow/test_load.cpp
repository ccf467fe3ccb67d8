#include "mainwindow/MainWindowFixture.h"

#include "common/Settings.h"
#include "mainwindow/MainMenu.h"
#include "platform/ui/Twips.h"

#include <QFile>
#include <QTemporaryFile>

// Start-up, shutdown, the window states kept between starts, and the layout they give.
namespace {

// A control's place in twips, as the screen's whole pixels give it back.
QRect TwipsOf(const QWidget& control)
{
    const QRect r = control.geometry();
    auto twips = [](int pixels) { return int(PixelsToTwips(pixels)); };
    return QRect(twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height()));
}

QRect Snapped(int left, int top, int width, int height)
{
    auto snap = [](int t) { return int(PixelsToTwips(TwipsToPixels(t))); };
    return QRect(snap(left), snap(top), snap(width), snap(height));
}

// Help spans the window's foot and overlaps neither the list nor another button.
bool HelpStandsClear(const Form1& form)
{
    const QRect help = form.PushButton[6]->geometry();
    for (int n : {1, 2, 3, 4, 5, 7}) {
        if (help.intersects(form.PushButton[n]->geometry()))
            return false;
    }
    return !help.intersects(form.ListView1->geometry());
}

} // namespace

class TestLoad : public QObject
{
    Q_OBJECT

private slots:
    void closeSavesWidthsAndStateForTheNextStart()
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

    // A template that is missing and a saved width that is no number.
    void failingStepsAreReportedAndTheNextStepRuns()
    {
        TestEnvironment env;
        QVERIFY(QFile::remove(env.programFolder() + "/dbBlank.mdb"));
        SaveSetting("Velquor", "Tarnwick", "ColumnHeaders3", "wide");
        for (int i = 0; i < 4; ++i)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        auto form = StartMainWindow();
        const QStringList prompts = env.boxes.prompts();
        QCOMPARE(prompts.size(), 4);
        const std::pair<const char*, int> steps[] = {
            {"Form_Load", 100}, {"Form_Load", 114}, {"Form_Load", 118}, {"ListData", 102}};
        for (int n = 0; n < 4; ++n)
            QVERIFY2(prompts[n].contains(CommandLocation(steps[n].first, steps[n].second)),
                     qPrintable(prompts[n]));
        QCOMPARE(env.boxes.shown().at(0).request.title, QString("Application Error"));
        // The steps after the failures still ran.
        QCOMPARE(form->ListView1->ColumnCount(), 19);
        QCOMPARE(form->ListView1->ItemCount(), 0);
        QCOMPARE(form->windowTitle(), QString("Tarnwick"));
        QVERIFY(form->ListView1->ColumnWidth(2) != 0.0);
        QCOMPARE(form->ListView1->ColumnWidth(3), 1500.0);
        // A connection that never opened is released without a report.
        form->close();
        QCOMPARE(env.boxes.shown().size(), 4);
        QVERIFY(!g_Conn);
    }

    // The first start provisions the database and shows the design's empty list, stretched
    // when maximised and centred when restored.
    void firstStartDesignLayoutStretchedWhenMaximisedAndCentredWhenRestored()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        QVERIFY(QFile::exists(env.workingDatabase()));
        QVERIFY(g_Conn && g_Conn->State() == Connection::adStateOpen);
        QCOMPARE(form->windowTitle(), QString("Tarnwick"));
        QCOMPARE(form->ListView1->ColumnWidth(0), 1200.0);
        for (int column = 1; column < 19; ++column)
            QCOMPARE(form->ListView1->ColumnWidth(column), 1500.0);
        QVERIFY(!form->m_WasMaximized);
        QCOMPARE(form->windowState(), Qt::WindowNoState);
        QVERIFY(env.boxes.shown().isEmpty());
        const QRect design = Snapped(120, 120, 11760, 5475);
        QCOMPARE(TwipsOf(*form->ListView1), design);
        QVERIFY(HelpStandsClear(*form));
        // The state changes as the window system answers them, one after the other.
        auto show = [&form](void (QWidget::*state)()) {
            (form.get()->*state)();
            QCoreApplication::processEvents();
        };
        // Never maximised: minimise and restore move nothing.
        const QPoint at = form->pos();
        show(&QWidget::showMinimized);
        show(&QWidget::showNormal);
        QCOMPARE(form->pos(), at);
        QCOMPARE(TwipsOf(*form->ListView1), design);
        // The border is fixed: a larger size is undone, a smaller one refused.
        const QSize designSize(800, 482 + form->Menu->height());
        for (const QSize size : {QSize(1000, 600), QSize(400, 300)}) {
            form->resize(size);
            QTRY_COMPARE(form->size(), designSize);
        }

        // The rule lays out the area under the menu bar: the window less the bar's height.
        const int bar = int(PixelsToTwips(form->Menu->height()));
        QCOMPARE(form->ClientArea->geometry(),
                 QRect(0, form->Menu->height(), TwipsToPixels(12000), TwipsToPixels(7230)));
        show(&QWidget::showMaximized);
        QVERIFY(form->m_WasMaximized);
        QVERIFY(form->windowState() & Qt::WindowMaximized);
        QTRY_COMPARE(TwipsOf(*form->ListView1), Snapped(120, 120, 18870, 9810 - bar));
        QCOMPARE(TwipsOf(*form->PushButton[2]).topLeft(),
                 Snapped(3360, 10035 - bar, 0, 0).topLeft());
        QCOMPARE(TwipsOf(*form->PushButton[4]).topLeft(),
                 Snapped(3360, 10545 - bar, 0, 0).topLeft());
        QVERIFY(HelpStandsClear(*form));
        show(&QWidget::showNormal);
        QCOMPARE(form->size(), designSize);
        QCOMPARE(TwipsOf(*form->ListView1), design);
        QVERIFY(HelpStandsClear(*form));
        // Moved, minimised and restored: centred again.
        const QPoint centred = form->pos();
        form->move(centred + QPoint(40, 30));
        show(&QWidget::showMinimized);
        show(&QWidget::showNormal);
        QCOMPARE(form->pos(), centred);
    }
};

// A 1280 x 768 screen at 96 dots per inch: a maximised window of 19200 x 11520 twips.
int main(int argc, char** argv)
{
    QTemporaryFile screens;
    screens.open();
    screens.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1280,
                   "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toUtf8());
    QApplication app(argc, argv);
    TestLoad test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_load.moc"
