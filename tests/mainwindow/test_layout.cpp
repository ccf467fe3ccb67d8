#include "mainwindow/MainWindowFixture.h"

#include "platform/ui/Twips.h"

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void designLayoutStretchedWhenMaximisedAndCentredWhenRestored();
};

namespace {

// The list's place in twips, as the screen's whole pixels give it back.
QRect ListTwips(const Form1& form)
{
    const QRect r = form.ListView1->geometry();
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

void TestLayout::designLayoutStretchedWhenMaximisedAndCentredWhenRestored()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    const QRect design = Snapped(120, 120, 11760, 5475);
    QCOMPARE(ListTwips(*form), design);
    QVERIFY(HelpStandsClear(*form));
    // Never maximised: minimise and restore move nothing.
    const QPoint at = form->pos();
    form->showMinimized();
    form->showNormal();
    QCOMPARE(form->pos(), at);
    QCOMPARE(ListTwips(*form), design);

    form->showMaximized();
    form->resize(TwipsToPixels(19200), TwipsToPixels(11520));
    QVERIFY(form->m_WasMaximized);
    if (form->windowState() & Qt::WindowMaximized) {
        QCOMPARE(ListTwips(*form), Snapped(120, 120, 18870, 9810));
        QVERIFY(HelpStandsClear(*form));
    }
    form->showNormal();
    QCOMPARE(ListTwips(*form), design);
    QVERIFY(HelpStandsClear(*form));
    // Moved, minimised and restored: centred again.
    const QPoint centred = form->pos();
    form->move(centred + QPoint(40, 30));
    form->showMinimized();
    form->showNormal();
    QCOMPARE(form->pos(), centred);
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
