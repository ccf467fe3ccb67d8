#include "records/Form3.h"

#include "records/RecordFixture.h"

class TestForm3 : public QObject
{
    Q_OBJECT

private slots:
    void amountOpensWithTheFocusAndNegativesAreStored();
    void checksShowTheirMessagesInTheAmountBox();
    void editUpdatesAndAMissingEntryChangesNothing();
    void cancelWritesNothing();
    void refusedSaveKeepsTheDialogOpen();
    void amountUnderADecimalCommaLocale();
};

namespace {

QString DepreciationKey()
{
    return QueryText("select max(DepreciationID) from Depreciation");
}

} // namespace

void TestForm3::amountOpensWithTheFocusAndNegativesAreStored()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto add = OpenDialog<Form3>("", "Add Depreciation");
    QCOMPARE(QApplication::focusWidget(), add->txtCost);
    QVERIFY(!add->windowIcon().isNull());
    QCOMPARE(add->dtpDate->date(), TestEnvironment::pinnedToday());
    QCOMPARE(add->PushButton2->accessibleName(), QString("Save"));
    Type(add->txtCost, "-125.75");
    Click(add->PushButton2);
    QVERIFY(!add->isVisible());
    QCOMPARE(QueryText("select DepreciationAmount from Depreciation where AssetID=7"),
             QString("-125.75"));
    auto edit = OpenDialog<Form3>(DepreciationKey(), "Edit Depreciation");
    QCOMPARE(edit->txtCost->text(), QString("-125.75"));
    QCOMPARE(edit->dtpDate->date(), TestEnvironment::pinnedToday());
}

void TestForm3::checksShowTheirMessagesInTheAmountBox()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenDialog<Form3>("", "Add Depreciation");
    for (const char* typed : {"", "ten"}) {
        Type(form->txtCost, typed);
        form->dtpDate->setFocus();
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(form->PushButton2);
        QVERIFY(form->isVisible());
        QCOMPARE(QApplication::focusWidget(), form->txtCost);
    }
    CheckPlainMessages(env.boxes,
                       {"You forgot to input amount.", "Amount must be a numerical value."});
    QCOMPARE(QueryCount("select count(*) from Depreciation"), 0LL);
}

void TestForm3::editUpdatesAndAMissingEntryChangesNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    g_Conn->Execute("insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) "
                    "values (3,'1/5/2026',100)");
    const QString key = DepreciationKey();
    auto edit = OpenDialog<Form3>(key, "Edit Depreciation", "3");
    QCOMPARE(edit->dtpDate->date(), QDate(2026, 1, 5));
    QCOMPARE(edit->txtCost->text(), QString("100"));
    edit->dtpDate->setDate(QDate(2026, 2, 28));
    Type(edit->txtCost, "80");
    Click(edit->PushButton2);
    QVERIFY(!edit->isVisible());
    auto reread = OpenDialog<Form3>(key, "Edit Depreciation", "3");
    QCOMPARE(reread->dtpDate->date(), QDate(2026, 2, 28));
    QCOMPARE(reread->txtCost->text(), QString("80"));

    auto missing = OpenDialog<Form3>("999", "Edit Depreciation", "3");
    QCOMPARE(missing->txtCost->text(), QString());
    Type(missing->txtCost, "5");
    Click(missing->PushButton2);
    QVERIFY(!missing->isVisible());
    QCOMPARE(QueryCount("select count(*) from Depreciation"), 1LL);
    QCOMPARE(QueryText("select DepreciationAmount from Depreciation"), QString("80"));
}

void TestForm3::cancelWritesNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenDialog<Form3>("", "Add Depreciation");
    Type(form->txtCost, "5");
    Click(form->PushButton1);
    QVERIFY(!form->isVisible());
    QCOMPARE(QueryCount("select count(*) from Depreciation"), 0LL);
}

void TestForm3::refusedSaveKeepsTheDialogOpen()
{
    TestEnvironment env;
    env.OpenDatabase();
    RefuseWrites("Depreciation");
    auto form = OpenDialog<Form3>("", "Add Depreciation");
    Type(form->txtCost, "5");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Click(form->PushButton2);
    QVERIFY(env.boxes.prompts().value(0).contains(
        "in Tarnwick2021/08/31.Form3.PushButton2_Click at line 102"));
    QVERIFY(form->isVisible());
    QCOMPARE(form->txtCost->text(), QString("5"));
}

void TestForm3::amountUnderADecimalCommaLocale()
{
    TestEnvironment env("de_DE");
    env.OpenDatabase();
    auto add = OpenDialog<Form3>("", "Add Depreciation");
    Type(add->txtCost, "10,5");
    Click(add->PushButton2);
    QVERIFY(!add->isVisible());
    QCOMPARE(QueryCount("select count(*) from Depreciation"), 1LL);
    QCOMPARE(QueryText("select DepreciationAmount from Depreciation"), QString("10,5"));
    QCOMPARE(QueryText("select DepreciationDate from Depreciation"), QString("07.12.2026"));
}

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
