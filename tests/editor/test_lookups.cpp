#include "editor/EditorFixture.h"

class TestLookups : public QObject
{
    Q_OBJECT

private slots:
    void plusStoresTheAnswerAsTypedAndReloadsThatList();
    void employeePlusAsksBothQuestionsAndNeedsBoth();
    void minusDeletesTheValueItsAssetsAndTheirHistories();
    void minusDoesNothingWithoutSelectionOrWithNo();
    void minusIsAllOrNothing();
};

namespace {

QString Warning(const QString& noun)
{
    return QStringLiteral("Note: Deleting %1 will also delete assets data that is linked to "
                          "this %1.\r\nDo you wish to continue?")
        .arg(noun);
}

long long Count(const QString& table)
{
    return QueryCount("select count(*) from " + table);
}

} // namespace

void TestLookups::plusStoresTheAnswerAsTypedAndReloadsThatList()
{
    EditorCase c;
    auto form = OpenEditor();
    Choose(form->cboStatus, "Retired");
    const QString typed = "Bob's; --";
    const struct
    {
        int button;
        QString noun;
        QComboBox* list;
        const QList<long long>* ids;
        QString table, key, column;
    } cases[] = {
        {12, "Vendor Name", form->cboVendors, &form->m_VendorIDs, "Vendors", "VendorID",
         "VendorName"},
        {14, "Asset Category", form->cboCategories, &form->m_CategoryIDs, "[Asset Categories]",
         "AssetCategoryID", "AssetCategory"},
        {16, "Status", form->cboStatus, &form->m_StatusIDs, "Status", "StatusID", "Status"},
        {18, "Department", form->cboDepartment, &form->m_DepartmentIDs, "Departments",
         "DepartmentID", "DepartmentName"},
    };
    for (const auto& k : cases) {
        c.env.boxes.clear();
        c.env.boxes.ExpectInput(typed);
        QTest::mouseClick(form->PushButton[k.button], Qt::LeftButton);
        QCOMPARE(c.env.boxes.shown()[0].request.prompt, "Enter " + k.noun + ": ");
        QCOMPARE(c.env.boxes.shown()[0].request.title, "Input " + k.noun);
        QCOMPARE(c.env.boxes.shown()[0].defaultText, QString());
        QCOMPARE(
            QueryCount("select count(*) from " + k.table + " where " + k.column + "='Bob''s; --'"),
            1LL);
        // Only this list is read again: parallel to its ids, with no selection.
        QCOMPARE(k.list->count(), 3);
        QCOMPARE(k.ids->value(k.list->findText(typed)), LastKey(k.table, k.key));
        QCOMPARE(k.list->currentIndex(), -1);
        QCOMPARE(form->cboStatus->currentText(), QString(k.button < 16 ? "Retired" : ""));
    }

    // Cancel (an empty answer) stores nothing.
    c.env.boxes.clear();
    c.env.boxes.ExpectInput("");
    form->PushButton[12]->click();
    QCOMPARE(Count("Vendors"), 3LL);
}

void TestLookups::employeePlusAsksBothQuestionsAndNeedsBoth()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    for (const auto& [first, last] :
         {std::pair<QString, QString>{"Ann", ""}, {"", "Lee"}, {"D'Arcy", "O'Neil"}}) {
        env.boxes.clear();
        env.boxes.ExpectInput(first);
        env.boxes.ExpectInput(last);
        form->PushButton[10]->click();
        QCOMPARE(env.boxes.prompts(), QStringList({"Enter Firstname: ", "Enter Lastname: "}));
        QCOMPARE(env.boxes.shown()[0].request.title, QString("Input Firstname"));
        QCOMPARE(env.boxes.shown()[1].request.title, QString("Input Lastname"));
    }
    QCOMPARE(Count("Employees"), 1LL);
    QCOMPARE(QueryText("select FirstName+'|'+LastName from Employees"), QString("D'Arcy|O'Neil"));
    QCOMPARE(form->cboEmployees->itemText(0), QString("O'Neil, D'Arcy"));
    QCOMPARE(form->cboEmployees->currentIndex(), -1);
}

// Deleting a lookup value used to leave the maintenance and depreciation rows of the deleted
// assets behind, where no window could show or delete them again.
void TestLookups::minusDeletesTheValueItsAssetsAndTheirHistories()
{
    EditorCase c;
    AssetRow retired(c.ids);
    retired.status = c.ids.retired;
    const QString edited = AddAsset(retired);
    const QString alsoRetired = AddAsset(retired);
    const QString kept = AddAsset(AssetRow(c.ids));
    for (const QString& asset : {edited, alsoRetired, kept}) {
        AddMaintenance(asset, "10");
        AddDepreciation(asset, "20");
    }
    AssetRow other(c.ids);
    other.vendor = c.ids.bolt;
    AddAsset(other);
    auto form = OpenEditor(edited);

    // Another asset's vendor: the edited asset still exists and is read again, unsaved
    // changes and all.
    form->txtDescription->setPlainText("Not saved");
    Choose(form->cboVendors, "Bolt");
    c.env.boxes.ExpectMessage(BoxAnswer::Yes);
    form->PushButton[13]->click();
    QCOMPARE(c.env.boxes.prompts(), QStringList{Warning("vendor")});
    QVERIFY(Count("Vendors") == 1 && Count("Assets") == 3);
    QCOMPARE(form->txtDescription->toPlainText(), QString("Pump"));
    QCOMPARE(form->cboVendors->currentText(), QString("Acme"));
    QCOMPARE(form->cboStatus->currentText(), QString("Retired"));

    // The edited asset's own status.
    c.env.boxes.clear();
    c.env.boxes.ExpectMessage(BoxAnswer::Yes);
    QTest::mouseClick(form->PushButton[17], Qt::LeftButton);
    QCOMPARE(c.env.boxes.prompts(), QStringList{Warning("status")});
    QCOMPARE(c.env.boxes.shown()[0].request.buttons, BoxButtons::YesNo);
    QCOMPARE(c.env.boxes.shown()[0].request.defaultButton, BoxDefault::Second);
    QCOMPARE(c.env.boxes.shown()[0].request.title, AppTitle());
    QCOMPARE(QueryCount("select count(*) from Status where Status='Retired'"), 0LL);
    for (const char* table : {"Assets", "Maintenance", "Depreciation"}) {
        QCOMPARE(Count(table), 1LL);
        QCOMPARE(QueryText(QString("select AssetID from ") + table), kept);
    }
    // The edited asset is gone: its list has no selection, its panes are empty with totals
    // of $0.00 and their commands wait as for a new asset, and Save refuses.
    QCOMPARE(form->cboStatus->count(), 1);
    QCOMPARE(form->cboStatus->currentIndex(), -1);
    QVERIFY(form->ListView1->ItemCount() == 0 && form->ListView2->ItemCount() == 0);
    QVERIFY(form->txtTotalMaintenance2->text() == "$0.00" &&
            form->txtTotalDepreciation2->text() == "$0.00");
    for (int n = 4; n <= 9; ++n)
        QVERIFY(!form->PushButton[n]->isEnabled());
    c.env.boxes.clear();
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    form->PushButton1_Click();
    QCOMPARE(c.env.boxes.prompts(), QStringList{"Please add new record first."});
}

void TestLookups::minusDoesNothingWithoutSelectionOrWithNo()
{
    EditorCase c;
    AddAsset(AssetRow(c.ids));
    auto form = OpenEditor();

    for (int button : {11, 13, 15, 17, 19})
        form->PushButton[button]->click();
    QCOMPARE(c.env.boxes.shown().size(), 0);

    const std::pair<QComboBox*, QString> lists[] = {
        {form->cboEmployees, "employee"},    {form->cboVendors, "vendor"},
        {form->cboCategories, "category"},   {form->cboStatus, "status"},
        {form->cboDepartment, "department"},
    };
    int button = 11;
    for (const auto& [list, noun] : lists) {
        list->setCurrentIndex(0);
        c.env.boxes.clear();
        c.env.boxes.ExpectMessage(BoxAnswer::No);
        form->PushButton[button]->click();
        button += 2;
        QCOMPARE(c.env.boxes.prompts(), QStringList{Warning(noun)});
        QCOMPARE(list->currentIndex(), 0);
    }
    QCOMPARE(Count("Employees") + Count("Vendors") + Count("[Asset Categories]") + Count("Status") +
                 Count("Departments") + Count("Assets"),
             11LL);
}

// The deletes of one command used to run one by one, so a failure in the middle left the
// value deleted and its assets behind.
void TestLookups::minusIsAllOrNothing()
{
    EditorCase c;
    AddMaintenance(AddAsset(AssetRow(c.ids)), "10");
    QVERIFY(RefuseOnAssets("delete"));
    auto form = OpenEditor();
    Choose(form->cboCategories, "Computers");

    c.env.boxes.ExpectMessage(BoxAnswer::Yes);
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    form->PushButton[15]->click();
    QCOMPARE(c.env.boxes.shown().size(), 2);
    QVERIFY(ReportedAt(c.env.boxes.shown()[1], "PushButton15_Click", 104));
    QVERIFY(Count("[Asset Categories]") == 2 && Count("Assets") == 1 && Count("Maintenance") == 1);
    QCOMPARE(form->cboCategories->count(), 2);
}

QTEST_MAIN(TestLookups)
#include "test_lookups.moc"
