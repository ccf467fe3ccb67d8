#include "editor/EditorFixture.h"

#include <QApplication>
#include <QFocusEvent>

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void numberBoxesFallBackToZeroWhenLeft();
    void dateBoxesRefuseToBeLeftWithoutADate();
    void copiesFollowEveryChange();
};

namespace {

// Moves the focus as the Tab key would.
void Leave(QWidget* from, QWidget* to)
{
    from->setFocus(Qt::TabFocusReason);
    to->setFocus(Qt::TabFocusReason);
}

} // namespace

void TestRules::numberBoxesFallBackToZeroWhenLeft()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    const QList<std::pair<QString, QString>> cases{
        {"", "0"},        {"abc", "0"},         {"12abc", "0"},
        {"99.5", "99.5"}, {" 12.5 ", " 12.5 "}, {"$1,234.50", "$1,234.50"},
    };
    for (QLineEdit* box : {form->txtPurchasePrice, form->txtCurrentValue, form->txtSalvageValue,
                           form->txtDepreciableLife}) {
        for (const auto& [typed, left] : cases) {
            box->setFocus();
            box->setText(typed);
            Leave(box, form->txtModelNo);
            QVERIFY2(box->text() == left, qPrintable(box->objectName() + ": " + typed));
        }
    }
    // Focus that goes to another window has not left the box.
    form->txtSalvageValue->setFocus();
    form->txtSalvageValue->setText("abc");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form->txtSalvageValue, &away);
    QCOMPARE(form->txtSalvageValue->text(), QString("abc"));
    QCOMPARE(env.boxes.shown().size(), 0);
}

void TestRules::dateBoxesRefuseToBeLeftWithoutADate()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    for (QLineEdit* box : {form->txtDateAcquired, form->txtDateSold, form->txtNextSchedMaint}) {
        env.boxes.clear();
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, "31/02/2021");
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Leave(box, form->txtModelNo);
        QCOMPARE(env.boxes.prompts(), QStringList{"Must be date value."});
        QVERIFY(IsNotice(env.boxes.shown()[0]));
        QCOMPARE(form->focusWidget(), box);
        QCOMPARE(box->text(), QString("31/02/2021"));

        for (const QString& accepted : {QString(), QString("3/15/2021")}) {
            box->setText(accepted);
            Leave(box, form->txtModelNo);
            QCOMPARE(env.boxes.shown().size(), 1);
            QCOMPARE(form->focusWidget(), form->txtModelNo);
            QCOMPARE(box->text(), accepted);
        }
    }

    // Leaving one bad date box for another gives one message, not one for each.
    env.boxes.clear();
    form->txtDateSold->setText("not a date");
    form->txtDateAcquired->setText("31/02/2021");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Leave(form->txtDateAcquired, form->txtDateSold);
    QCOMPARE(env.boxes.prompts(), QStringList{"Must be date value."});
    QCOMPARE(form->focusWidget(), form->txtDateAcquired);

    // Cancel works with a bad date in the box.
    env.boxes.clear();
    QTest::mouseClick(form->PushButton[2], Qt::LeftButton);
    QCOMPARE(env.boxes.shown().size(), 0);
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QVERIFY(!form->isVisible());
}

void TestRules::copiesFollowEveryChange()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    form->txtPurchasePrice->setFocus();
    QString typed;
    for (const QChar key : QString("$12.5")) {
        QTest::keyClick(form->txtPurchasePrice, key.toLatin1());
        typed += key;
        QCOMPARE(form->txtPurchasePrice2->text(), typed);
    }
    QTest::keyClick(form->txtPurchasePrice, Qt::Key_Backspace);
    QCOMPARE(form->txtPurchasePrice2->text(), QString("$12."));

    form->txtNextSchedMaint->setFocus();
    QTest::keyClicks(form->txtNextSchedMaint, "1/2");
    QCOMPARE(form->txtNextScheduled->text(), QString("1/2"));
    form->txtNextSchedMaint->clear();
    QCOMPARE(form->txtNextScheduled->text(), QString());

    // The totals are written by the program only.
    form->txtTotalMaintenance->setText("$30.50");
    QCOMPARE(form->txtTotalMaintenance2->text(), QString("$30.50"));
    form->txtTotalDepreciation->setText("$250.00");
    QCOMPARE(form->txtTotalDepreciation2->text(), QString("$250.00"));
}

QTEST_MAIN(TestRules)
#include "test_rules.moc"
