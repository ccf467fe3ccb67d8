#include "mainwindow/CommandsFixture.h"

#include "common/ProgramIcon.h"
#include "common/Window.h"
#include "records/Form2.h"
#include "records/Form3.h"
#include "records/RecordFixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDateEdit>
#include <QFile>

namespace {

// What a screen reader announces for every control the keyboard can reach, by object name;
// controls it would announce without a name are listed as "<name>=".
QStringList Unnamed(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (qobject_cast<QAbstractItemView*>(w->parentWidget()) ||
            qobject_cast<QAbstractItemView*>(w->parentWidget() ? w->parentWidget()->parentWidget()
                                                               : nullptr))
            continue; // the list's own header and scroll bars
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName() + "=";
    }
    return unnamed;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // The list, then the seven buttons in the design's order, then round to the list; Space
    // presses the focused button. The icon comes out of the window library's resources, not
    // an empty file name, and every window shows it; the pointer over a button is the hand
    // that lies beside the program.
    void mainWindowTabOrderSpaceIconAndHand()
    {
        TestEnvironment env;
        QVERIFY(QFile::copy(HandCursorPath(), env.programFolder() + "/HAND-M.CUR"));
        auto form = StartMainWindow();
        QVERIFY(!ProgramIcon().pixmap(32).isNull());
        QVERIFY(!form->windowIcon().pixmap(32).isNull());
        QTest::mouseMove(form->PushButton[4]);
        QCOMPARE(form->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(form->cursor().pixmap().toImage(), LoadHandPointer()->pixmap().toImage());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->ListView1->setFocus();
        QCOMPARE(TabWalk(8), QStringList({"ListView1", "PushButton2", "PushButton1", "PushButton3",
                                          "PushButton4", "PushButton6", "PushButton5",
                                          "PushButton7", "ListView1"}));
        QCOMPARE(Unnamed(*form), QStringList());

        form->PushButton[6]->setFocus();
        env.boxes.ExpectMessage(BoxAnswer::OK);
        QTest::keyClick(form->PushButton[6], Qt::Key_Space);
        QCOMPARE(env.boxes.shown().size(), 1);
        QVERIFY(env.boxes.shown()[0].request.prompt.startsWith("Questions?"));
        QVERIFY(env.boxes.allAnswersUsed());
    }

    // Both record dialogs: the design's tab order from the control that has the focus on
    // opening, one Tab a control (the arrow keys reach the parts of a date), a name for every
    // control, the icon.
    void recordDialogsTabOrderNamesAndIcon()
    {
        TestEnvironment env;
        env.OpenDatabase();
        auto maintenance = OpenDialog<Form2>("", "Add New Maintenance");
        QCOMPARE(TabWalk(6), QStringList({"dtpDate", "txtDescription", "txtPerformedBy", "txtCost",
                                          "PushButton2", "PushButton1", "dtpDate"}));
        QDateEdit& date = *maintenance->dtpDate;
        const QDateTimeEdit::Section first = date.currentSection();
        for (int key = 0; key < 3 && date.currentSection() == first; ++key)
            QTest::keyClick(&date, Qt::Key_Right);
        QVERIFY(date.currentSection() != first);
        QCOMPARE(QApplication::focusWidget(), &date);
        QCOMPARE(Unnamed(*maintenance), QStringList());
        QVERIFY(!maintenance->windowIcon().pixmap(32).isNull());
        maintenance->close();

        auto depreciation = OpenDialog<Form3>("", "Add New Depreciation");
        QCOMPARE(TabWalk(4),
                 QStringList({"txtCost", "PushButton2", "PushButton1", "dtpDate", "txtCost"}));
        QCOMPARE(Unnamed(*depreciation), QStringList());
        QVERIFY(!depreciation->windowIcon().pixmap(32).isNull());
        depreciation->close();
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
