#include "records/Form2.h"
#include "records/Form3.h"
#include "records/RecordFixture.h"

// The maintenance and depreciation dialogs: both have a date, an amount box, Cancel and Save;
// the maintenance dialog has its two text boxes before the amount.
class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void addedEntryIsStoredAndShownAgain();
    void checksRunInOrderAndStoreNothing();
    void editChangesOnlyItsEntryAndAMissingOneNothing();
    void cancelAndCloseBoxWriteNothing();
    void refusedSaveOrAGoneAssetKeepsTheDialogOpen();
};

namespace {

struct Kind
{
    QString table, amountColumn, addCaption, editCaption, firstFocus;
    // Each check's message, the box typed into before it and the box that has the focus
    // after it.
    struct Step
    {
        const char* box;
        QString typed;
        const char* focus;
        QString message;
    };
    QList<Step> checks;
};

template <typename Dialog> const Kind& KindOf();

template <> const Kind& KindOf<Form2>()
{
    static const Kind kind{
        "Maintenance",
        "MaintenanceCost",
        "Add New Maintenance",
        "Edit Maintenance",
        "dtpDate",
        {{"txtCost", "", "txtDescription", "You forgot to input description."},
         {"txtDescription", "   ", "txtPerformedBy", "You forgot to input performed by."},
         {"txtPerformedBy", "Bob", "txtCost", "You forgot to input cost."},
         {"txtCost", "abc", "txtCost", "Cost must be a numerical value."}}};
    return kind;
}

template <> const Kind& KindOf<Form3>()
{
    static const Kind kind{"Depreciation",
                           "DepreciationAmount",
                           "Add Depreciation",
                           "Edit Depreciation",
                           "txtCost",
                           {{"txtCost", "", "txtCost", "You forgot to input amount."},
                            {"txtCost", "ten", "txtCost", "Amount must be a numerical value."}}};
    return kind;
}

QLineEdit* Box(QWidget& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(name);
}

// Types the amount, and for maintenance the two texts.
void Fill(QWidget& dialog, const QString& amount, const QString& text = "Oil")
{
    if (QLineEdit* description = Box(dialog, "txtDescription")) {
        Type(description, text);
        Type(Box(dialog, "txtPerformedBy"), "Ann O'Neil");
    }
    Type(Box(dialog, "txtCost"), amount);
}

template <typename Dialog> QString Query(const QString& what, const QString& where = "1=1")
{
    return QueryText("select " + what + " from " + KindOf<Dialog>().table + " where " + where);
}

template <typename Dialog> QString LastKey()
{
    return Query<Dialog>("max(" + KindOf<Dialog>().table + "ID)");
}

template <typename Dialog> void AddEntry(const QString& assetId, const QString& amount)
{
    const bool maintenance = KindOf<Dialog>().table == "Maintenance";
    g_Conn->Execute(
        maintenance
            ? "insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,"
              "MaintenancePerformedBy,MaintenanceCost) values (" +
                  assetId + ",'1/5/2026','Oil','Bob'," + amount + ")"
            : "insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) values (" +
                  assetId + ",'1/5/2026'," + amount + ")");
}

template <typename Dialog> void Added()
{
    RecordCase env;
    const Kind& kind = KindOf<Dialog>();
    auto add = OpenDialog<Dialog>("", kind.addCaption);
    QCOMPARE(add->windowTitle(), kind.addCaption);
    QVERIFY(!add->windowIcon().isNull());
    QCOMPARE(add->dtpDate->date(), TestEnvironment::pinnedToday());
    QCOMPARE(QApplication::focusWidget()->objectName(), kind.firstFocus);
    QCOMPARE(add->PushButton2->accessibleName(), QString("Save"));
    add->dtpDate->setDate(QDate(2026, 3, 15));
    Fill(*add, "-1,234.5", "O'Brien's \"pump\"");
    Click(add->PushButton2);
    QVERIFY(!add->isVisible());
    QCOMPARE(add->result(), int(QDialog::Accepted));

    QCOMPARE(Query<Dialog>("count(*)", "AssetID=7"), QString("1"));
    auto edit = OpenDialog<Dialog>(LastKey<Dialog>(), kind.editCaption);
    QCOMPARE(edit->dtpDate->date(), QDate(2026, 3, 15));
    QCOMPARE(edit->txtCost->text(), QString("-1234.5"));
    if (QLineEdit* description = Box(*edit, "txtDescription")) {
        QCOMPARE(description->text(), QString("O'Brien's \"pump\""));
        QCOMPARE(Box(*edit, "txtPerformedBy")->text(), QString("Ann O'Neil"));
    }
}

template <typename Dialog> void Checks()
{
    RecordCase env;
    const Kind& kind = KindOf<Dialog>();
    auto form = OpenDialog<Dialog>("", kind.addCaption);
    QStringList messages;
    for (const Kind::Step& step : kind.checks) {
        Type(Box(*form, step.box), step.typed);
        form->dtpDate->setFocus();
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(form->PushButton2);
        QVERIFY(form->isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString(step.focus));
        messages << step.message;
    }
    CheckPlainMessages(env.boxes, messages);
    QCOMPARE(Query<Dialog>("count(*)"), QString("0"));

    // A description of blanks passes and is stored as it is.
    Type(form->txtCost, "20");
    Click(form->PushButton2);
    QVERIFY(!form->isVisible());
    QCOMPARE(Query<Dialog>("count(*)"), QString("1"));
    if (kind.table == "Maintenance")
        QCOMPARE(Query<Form2>("MaintenanceDescription"), QString("   "));
}

// The update writes the owner's key too; an entry that no longer exists opens with today
// and empty boxes, and saving it changes nothing.
template <typename Dialog> void Edited()
{
    RecordCase env;
    const Kind& kind = KindOf<Dialog>();
    AddEntry<Dialog>("3", "10");
    AddEntry<Dialog>("3", "10");
    const QString key = LastKey<Dialog>();
    auto edit = OpenDialog<Dialog>(key, kind.editCaption, "4");
    QCOMPARE(edit->dtpDate->date(), QDate(2026, 1, 5));
    QCOMPARE(edit->txtCost->text(), QString("10"));
    edit->dtpDate->setDate(QDate(2026, 2, 28));
    Fill(*edit, "12.25", "New belt");
    Click(edit->PushButton2);
    QVERIFY(!edit->isVisible());
    const QString entry = kind.table + "ID=" + key;
    const QString other = "not " + entry;
    QCOMPARE(Query<Dialog>("AssetID", entry) + "|" + Query<Dialog>(kind.amountColumn, entry),
             QString("4|12.25"));
    QCOMPARE(Query<Dialog>("AssetID", other) + "|" + Query<Dialog>(kind.amountColumn, other),
             QString("3|10"));
    auto reread = OpenDialog<Dialog>(key, kind.editCaption, "4");
    QCOMPARE(reread->dtpDate->date(), QDate(2026, 2, 28));

    auto missing = OpenDialog<Dialog>("999", kind.editCaption);
    QCOMPARE(missing->dtpDate->date(), TestEnvironment::pinnedToday());
    QCOMPARE(missing->txtCost->text(), QString());
    Fill(*missing, "5");
    Click(missing->PushButton2);
    QVERIFY(!missing->isVisible());
    QCOMPARE(Query<Dialog>("count(*)"), QString("2"));
    QCOMPARE(Query<Dialog>("count(*)", kind.amountColumn + "=5"), QString("0"));
}

template <typename Dialog> void Cancelled()
{
    RecordCase env;
    for (bool closeBox : {false, true}) {
        auto form = OpenDialog<Dialog>("", KindOf<Dialog>().addCaption);
        Fill(*form, "1");
        if (closeBox)
            form->close();
        else
            Click(form->PushButton1);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
    }
    QCOMPARE(Query<Dialog>("count(*)"), QString("0"));
}

template <typename Dialog> void Refused()
{
    RecordCase env;
    RefuseWrites(KindOf<Dialog>().table);
    auto form = OpenDialog<Dialog>("", KindOf<Dialog>().addCaption);
    Fill(*form, "10");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Click(form->PushButton2);
    QCOMPARE(env.boxes.shown().size(), 1);
    QVERIFY(env.boxes.prompts().first().contains(
        QString("in Tarnwick2021/08/31.%1.PushButton2_Click at line 102")
            .arg(Dialog::staticMetaObject.className())));
    QVERIFY(form->isVisible());
    QCOMPARE(form->txtCost->text(), QString("10"));

    // An asset deleted meanwhile, as another copy of the program may do, takes no entry.
    auto gone = OpenDialog<Dialog>("", KindOf<Dialog>().addCaption, "4");
    Fill(*gone, "10");
    g_Conn->Execute("delete from Assets where AssetID=4");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Click(gone->PushButton2);
    QCOMPARE(env.boxes.prompts().last(),
             QString("The asset of this entry no longer exists: it was deleted, perhaps in "
                     "another copy of the program. Nothing was saved; close this window with "
                     "Cancel."));
    QVERIFY(gone->isVisible());
    QCOMPARE(Query<Dialog>("count(*)"), QString("0"));
}

} // namespace

void TestRecords::addedEntryIsStoredAndShownAgain()
{
    Added<Form2>();
    Added<Form3>();
}

void TestRecords::checksRunInOrderAndStoreNothing()
{
    Checks<Form2>();
    Checks<Form3>();
}

void TestRecords::editChangesOnlyItsEntryAndAMissingOneNothing()
{
    Edited<Form2>();
    Edited<Form3>();
}

void TestRecords::cancelAndCloseBoxWriteNothing()
{
    Cancelled<Form2>();
    Cancelled<Form3>();
}

void TestRecords::refusedSaveOrAGoneAssetKeepsTheDialogOpen()
{
    Refused<Form2>();
    Refused<Form3>();
}

QTEST_MAIN(TestRecords)
#include "test_records.moc"
