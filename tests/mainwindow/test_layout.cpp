#include "mainwindow/MainWindowFixture.h"

#include "platform/ui/Twips.h"

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void designPlacesAtTheStart();
    void maximisedStretchesAndRestoreCentres();
};

namespace {

// A place in twips as the screen's whole pixels give it back.
QRect Twips(const QWidget& w)
{
    return QRect(int(PixelsToTwips(w.x())), int(PixelsToTwips(w.y())),
                 int(PixelsToTwips(w.width())), int(PixelsToTwips(w.height())));
}
QRect Snapped(int left, int top, int width, int height)
{
    auto snap = [](int t) { return int(PixelsToTwips(TwipsToPixels(t))); };
    return QRect(snap(left), snap(top), snap(width), snap(height));
}

} // namespace

void TestLayout::designPlacesAtTheStart()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    QCOMPARE(Twips(*form->ListView1), Snapped(120, 120, 11760, 5475));
    QCOMPARE(Twips(*form->PushButton[2]), Snapped(120, 5670, 3840, 405));
    QCOMPARE(Twips(*form->PushButton[7]), Snapped(8040, 5670, 3840, 405));
    QCOMPARE(Twips(*form->PushButton[5]), Snapped(8040, 6180, 3840, 405));
    QCOMPARE(Twips(*form->PushButton[6]), Snapped(120, 6700, 11760, 405));
    QCOMPARE(form->PushButton[6]->accessibleName(), QString("Help"));
    // Never maximised: minimise and restore move nothing.
    const QPoint at = form->pos();
    form->showMinimized();
    form->showNormal();
    QCOMPARE(form->pos(), at);
    QCOMPARE(Twips(*form->PushButton[2]), Snapped(120, 5670, 3840, 405));
}

void TestLayout::maximisedStretchesAndRestoreCentres()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    form->showMaximized();
    form->resize(TwipsToPixels(19200), TwipsToPixels(11520));
    QVERIFY(form->m_WasMaximized);
    if (form->windowState() & Qt::WindowMaximized) {
        QCOMPARE(Twips(*form->ListView1), Snapped(120, 120, 18870, 9810));
        QCOMPARE(Twips(*form->PushButton[2]).topLeft(), QPoint(3360, 10035));
        QCOMPARE(Twips(*form->PushButton[4]).topLeft(), QPoint(3360, 10545));
        // Help overlaps neither the list nor another button.
        for (int n : {1, 2, 3, 4, 5, 7})
            QVERIFY(!form->PushButton[6]->geometry().intersects(form->PushButton[n]->geometry()));
        QVERIFY(!form->PushButton[6]->geometry().intersects(form->ListView1->geometry()));
    }
    form->showNormal();
    QCOMPARE(Twips(*form->ListView1), Snapped(120, 120, 11760, 5475));
    QCOMPARE(Twips(*form->PushButton[2]), Snapped(120, 5680, 3840, 405));
    QCOMPARE(Twips(*form->PushButton[3]), Snapped(4080, 6190, 3840, 405));
    QCOMPARE(Twips(*form->PushButton[6]), Snapped(120, 6700, 11760, 405));
    // Moved, minimised and restored: centred again.
    const QPoint centred = form->pos();
    form->move(centred + QPoint(40, 30));
    form->showMinimized();
    form->showNormal();
    QCOMPARE(form->pos(), centred);
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
