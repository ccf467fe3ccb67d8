#include "records/Form2.h"

#include "records/RecordFixture.h"

class TestForm2 : public QObject
{
    Q_OBJECT

private slots:
    void addedEntryIsStoredAndShownAgainAsTyped();
    void checksRunInOrderAndStoreNothing();
    void editChangesOnlyItsEntry();
    void missingEntryShowsTodayAndChangesNothing();
    void cancelAndCloseBoxWriteNothing();
    void refusedSaveKeepsTheDialogOpen();
    void costUnderADecimalCommaLocale();
};

namespace {

const QString kHostile = "O'Brien's \"pump\"; drop table Maintenance; -- [x] + null CCur('1') \\ é";

QString MaintenanceKey()
{
    return QueryText("select max(MaintenanceID) from Maintenance");
}

} // namespace

void TestForm2::addedEntryIsStoredAndShownAgainAsTyped()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto add = OpenDialog<Form2>("", "Add New Maintenance");
    QCOMPARE(add->windowTitle(), QString("Add New Maintenance"));
    QVERIFY(!add->windowIcon().isNull());
    QCOMPARE(add->dtpDate->date(), TestEnvironment::pinnedToday());
    QCOMPARE(QApplication::focusWidget(), add->dtpDate);
    QCOMPARE(add->txtCost->accessibleName(), QString("Cost:"));
    add->dtpDate->setDate(QDate(2026, 3, 15));
    Type(add->txtDescription, kHostile);
    Type(add->txtPerformedBy, "Ann O'Neil");
    Type(add->txtCost, "1,234.5");
    Click(add->PushButton2);
    QVERIFY(!add->isVisible());
    QCOMPARE(add->result(), int(QDialog::Accepted));

    const QString key = MaintenanceKey();
    QCOMPARE(QueryCount("select count(*) from Maintenance where AssetID=7"), 1LL);
    auto edit = OpenDialog<Form2>(key, "Edit Maintenance");
    QCOMPARE(edit->dtpDate->date(), QDate(2026, 3, 15));
    QCOMPARE(edit->txtDescription->text(), kHostile);
    QCOMPARE(edit->txtPerformedBy->text(), QString("Ann O'Neil"));
    QCOMPARE(edit->txtCost->text(), QString("1234.5"));
}

void TestForm2::checksRunInOrderAndStoreNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenDialog<Form2>("", "Add New Maintenance");
    // Each step fills the box that the previous message named.
    struct
    {
        QLineEdit* box;
        QString typed;
        QLineEdit* focus;
    } steps[] = {{form->txtCost, "", form->txtDescription},
                 {form->txtDescription, "   ", form->txtPerformedBy},
                 {form->txtPerformedBy, "Bob", form->txtCost},
                 {form->txtCost, "abc", form->txtCost}};
    for (const auto& step : steps) {
        Type(step.box, step.typed);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(form->PushButton2);
        QVERIFY(form->isVisible());
        QCOMPARE(QApplication::focusWidget(), step.focus);
    }
    CheckPlainMessages(env.boxes,
                       {"You forgot to input description.", "You forgot to input performed by.",
                        "You forgot to input cost.", "Cost must be a numerical value."});
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 0LL);

    // A description of blanks passes and is stored as it is.
    Type(form->txtCost, "20");
    Click(form->PushButton2);
    QVERIFY(!form->isVisible());
    QCOMPARE(QueryText("select MaintenanceDescription from Maintenance"), QString("   "));
}

void TestForm2::editChangesOnlyItsEntry()
{
    TestEnvironment env;
    env.OpenDatabase();
    for (const char* what : {"Oil", "Belt"})
        g_Conn->Execute(QString("insert into Maintenance (AssetID,MaintenanceDate,"
                                "MaintenanceDescription,MaintenancePerformedBy,MaintenanceCost) "
                                "values (3,'1/5/2026','%1','Bob',10)")
                            .arg(what));
    const QString belt = MaintenanceKey();
    auto form = OpenDialog<Form2>(belt, "Edit Maintenance", "4");
    QCOMPARE(form->txtDescription->text(), QString("Belt"));
    Type(form->txtDescription, "New belt");
    Type(form->txtCost, "12.25");
    Click(form->PushButton2);
    QVERIFY(!form->isVisible());
    QCOMPARE(
        QueryText("select MaintenanceDescription from Maintenance where MaintenanceID=" + belt),
        QString("New belt"));
    QCOMPARE(QueryText("select MaintenanceCost from Maintenance where MaintenanceID=" + belt),
             QString("12.25"));
    // The update writes the owner's key too.
    QCOMPARE(QueryText("select AssetID from Maintenance where MaintenanceID=" + belt),
             QString("4"));
    const QString oil("select %1 from Maintenance where MaintenanceDescription='Oil'");
    QCOMPARE(QueryText(oil.arg("AssetID")), QString("3"));
    QCOMPARE(QueryText(oil.arg("MaintenanceCost")), QString("10"));
}

void TestForm2::missingEntryShowsTodayAndChangesNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenDialog<Form2>("999", "Edit Maintenance");
    QCOMPARE(form->dtpDate->date(), TestEnvironment::pinnedToday());
    QCOMPARE(form->txtDescription->text(), QString());
    QCOMPARE(form->txtCost->text(), QString());
    Type(form->txtDescription, "Oil");
    Type(form->txtPerformedBy, "Bob");
    Type(form->txtCost, "1");
    Click(form->PushButton2);
    QVERIFY(!form->isVisible());
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 0LL);
}

void TestForm2::cancelAndCloseBoxWriteNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    for (bool closeBox : {false, true}) {
        auto form = OpenDialog<Form2>("", "Add New Maintenance");
        Type(form->txtDescription, "Oil");
        Type(form->txtPerformedBy, "Bob");
        Type(form->txtCost, "1");
        if (closeBox)
            form->close();
        else
            Click(form->PushButton1);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
    }
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 0LL);
}

void TestForm2::refusedSaveKeepsTheDialogOpen()
{
    TestEnvironment env;
    env.OpenDatabase();
    RefuseWrites("Maintenance");
    auto form = OpenDialog<Form2>("", "Add New Maintenance");
    Type(form->txtDescription, "Oil");
    Type(form->txtPerformedBy, "Bob");
    Type(form->txtCost, "10");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Click(form->PushButton2);
    QCOMPARE(env.boxes.shown().size(), 1);
    QVERIFY(env.boxes.prompts().first().contains(
        "in Tarnwick2021/08/31.Form2.PushButton2_Click at line 102"));
    QVERIFY(form->isVisible());
    QCOMPARE(form->txtDescription->text(), QString("Oil"));
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 0LL);
}

void TestForm2::costUnderADecimalCommaLocale()
{
    TestEnvironment env("de_DE");
    env.OpenDatabase();
    auto add = OpenDialog<Form2>("", "Add New Maintenance");
    Type(add->txtDescription, "Öl");
    Type(add->txtPerformedBy, "Bob");
    Type(add->txtCost, "1.234,5");
    Click(add->PushButton2);
    QVERIFY(!add->isVisible());
    QCOMPARE(QueryText("select MaintenanceCost from Maintenance"), QString("1234,5"));
    auto edit = OpenDialog<Form2>(MaintenanceKey(), "Edit Maintenance");
    QCOMPARE(edit->txtCost->text(), QString("1234,5"));
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
