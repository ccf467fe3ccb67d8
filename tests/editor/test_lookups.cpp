#include "editor/EditorFixture.h"

#include <sqlite3.h>

class TestLookups : public QObject
{
    Q_OBJECT

private slots:
    void plusStoresTheAnswerAsTypedAndReloadsThatList();
    void employeePlusAsksBothQuestionsAndNeedsBoth();
    void minusDeletesTheValueItsAssetsAndTheirHistories();
    void minusRereadsTheEditedAssetThatStillExists();
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
    TestEnvironment env;
    env.OpenDatabase();
    AddLookupRows();
    auto form = OpenEditor();
    Choose(form->cboVendors, "Bolt");
    Choose(form->cboStatus, "Retired");

    env.boxes.ExpectInput("Bob's Tools");
    QTest::mouseClick(form->PushButton[12], Qt::LeftButton);
    QCOMPARE(env.boxes.shown()[0].request.prompt, QString("Enter Vendor Name: "));
    QCOMPARE(env.boxes.shown()[0].request.title, QString("Input Vendor Name"));
    QCOMPARE(env.boxes.shown()[0].defaultText, QString());
    QCOMPARE(QueryCount("select count(*) from Vendors where VendorName='Bob''s Tools'"), 1LL);
    QCOMPARE(form->cboVendors->count(), 3);
    QCOMPARE(form->cboVendors->itemText(1), QString("Bob's Tools"));
    QCOMPARE(form->m_VendorIDs[1], LastKey("Vendors", "VendorID"));
    QCOMPARE(form->cboVendors->currentIndex(), -1);
    QCOMPARE(form->cboStatus->currentText(), QString("Retired"));

    const struct
    {
        int button;
        QString prompt, title, query;
    } others[] = {
        {14, "Enter Asset Category: ", "Input Asset Category",
         "select count(*) from [Asset Categories] where AssetCategory='Tools; --'"},
        {16, "Enter Status: ", "Input Status",
         "select count(*) from Status where Status='Tools; --'"},
        {18, "Enter Department: ", "Input Department",
         "select count(*) from Departments where DepartmentName='Tools; --'"},
    };
    for (const auto& other : others) {
        env.boxes.clear();
        env.boxes.ExpectInput("Tools; --");
        form->PushButton[other.button]->click();
        QCOMPARE(env.boxes.shown()[0].request.prompt, other.prompt);
        QCOMPARE(env.boxes.shown()[0].request.title, other.title);
        QCOMPARE(QueryCount(other.query), 1LL);
    }
    QCOMPARE(form->cboStatus->currentIndex(), -1);

    // Cancel (an empty answer) stores nothing.
    env.boxes.clear();
    env.boxes.ExpectInput("");
    form->PushButton[12]->click();
    QCOMPARE(Count("Vendors"), 3LL);
}

void TestLookups::employeePlusAsksBothQuestionsAndNeedsBoth()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();

    for (const auto& [first, last] : {std::pair<QString, QString>{"Ann", ""}, {"", "Lee"}}) {
        env.boxes.clear();
        env.boxes.ExpectInput(first);
        env.boxes.ExpectInput(last);
        form->PushButton[10]->click();
        QCOMPARE(env.boxes.prompts(), QStringList({"Enter Firstname: ", "Enter Lastname: "}));
        QCOMPARE(env.boxes.shown()[0].request.title, QString("Input Firstname"));
        QCOMPARE(env.boxes.shown()[1].request.title, QString("Input Lastname"));
        QCOMPARE(Count("Employees"), 0LL);
    }

    env.boxes.ExpectInput("D'Arcy");
    env.boxes.ExpectInput("O'Neil");
    form->PushButton[10]->click();
    QCOMPARE(QueryText("select FirstName+'|'+LastName from Employees"), QString("D'Arcy|O'Neil"));
    QCOMPARE(form->cboEmployees->itemText(0), QString("O'Neil, D'Arcy"));
    QCOMPARE(form->cboEmployees->currentIndex(), -1);
}

// Deleting a lookup value used to leave the maintenance and depreciation rows of the deleted
// assets behind, where no window could show or delete them again.
void TestLookups::minusDeletesTheValueItsAssetsAndTheirHistories()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AssetRow retired(ids);
    retired.status = ids.retired;
    const QString edited = AddAsset(retired);
    const QString alsoRetired = AddAsset(retired);
    const QString kept = AddAsset(AssetRow(ids));
    for (const QString& asset : {edited, alsoRetired, kept}) {
        AddMaintenance(asset, "10");
        AddDepreciation(asset, "20");
    }
    auto form = OpenEditor(edited);
    QCOMPARE(form->cboStatus->currentText(), QString("Retired"));

    env.boxes.ExpectMessage(BoxAnswer::Yes);
    QTest::mouseClick(form->PushButton[17], Qt::LeftButton);
    QCOMPARE(env.boxes.prompts(), QStringList{Warning("status")});
    QCOMPARE(env.boxes.shown()[0].request.buttons, BoxButtons::YesNo);
    QCOMPARE(env.boxes.shown()[0].request.title, AppTitle());

    QCOMPARE(QueryCount("select count(*) from Status where Status='Retired'"), 0LL);
    QCOMPARE(QueryText("select AssetID from Assets"), kept);
    QCOMPARE(Count("Assets"), 1LL);
    QCOMPARE(QueryText("select AssetID from Maintenance"), kept);
    QCOMPARE(QueryText("select AssetID from Depreciation"), kept);
    QCOMPARE(Count("Maintenance"), 1LL);
    QCOMPARE(Count("Depreciation"), 1LL);
    // The edited asset is gone: its list has no selection and Save refuses.
    QCOMPARE(form->cboStatus->count(), 1);
    QCOMPARE(form->cboStatus->currentIndex(), -1);
    env.boxes.clear();
    env.boxes.ExpectMessage(BoxAnswer::OK);
    form->PushButton1_Click();
    QCOMPARE(env.boxes.prompts(), QStringList{"Please add new record first."});
}

void TestLookups::minusRereadsTheEditedAssetThatStillExists()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    const QString edited = AddAsset(AssetRow(ids));
    AssetRow other(ids);
    other.vendor = ids.bolt;
    AddAsset(other);
    auto form = OpenEditor(edited);
    form->txtDescription->setPlainText("Not saved");
    Choose(form->cboVendors, "Bolt");

    env.boxes.ExpectMessage(BoxAnswer::Yes);
    form->PushButton[13]->click();
    QCOMPARE(env.boxes.prompts(), QStringList{Warning("vendor")});
    QCOMPARE(Count("Vendors"), 1LL);
    QCOMPARE(Count("Assets"), 1LL);
    QCOMPARE(form->txtDescription->toPlainText(), QString("Pump"));
    QCOMPARE(form->cboVendors->currentText(), QString("Acme"));
    QCOMPARE(form->cboStatus->currentText(), QString("In use"));
}

void TestLookups::minusDoesNothingWithoutSelectionOrWithNo()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AddAsset(AssetRow(ids));
    auto form = OpenEditor();

    for (int button : {11, 13, 15, 17, 19})
        form->PushButton[button]->click();
    QCOMPARE(env.boxes.shown().size(), 0);

    const std::pair<QComboBox*, QString> lists[] = {
        {form->cboEmployees, "employee"},    {form->cboVendors, "vendor"},
        {form->cboCategories, "category"},   {form->cboStatus, "status"},
        {form->cboDepartment, "department"},
    };
    int button = 11;
    for (const auto& [list, noun] : lists) {
        list->setCurrentIndex(0);
        env.boxes.clear();
        env.boxes.ExpectMessage(BoxAnswer::No);
        form->PushButton[button]->click();
        QCOMPARE(env.boxes.prompts(), QStringList{Warning(noun)});
        QCOMPARE(list->currentIndex(), 0);
        button += 2;
    }
    QCOMPARE(Count("Employees") + Count("Vendors") + Count("[Asset Categories]") + Count("Status") +
                 Count("Departments"),
             10LL);
    QCOMPARE(Count("Assets"), 1LL);
}

// The deletes of one command used to run one by one, so a failure in the middle left the
// value deleted and its assets behind.
void TestLookups::minusIsAllOrNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    const QString asset = AddAsset(AssetRow(ids));
    AddMaintenance(asset, "10");
    QCOMPARE(sqlite3_exec(g_Conn->Handle(),
                          "create trigger refuse before delete on Assets begin "
                          "select raise(abort, 'refused for the test'); end",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    auto form = OpenEditor();
    Choose(form->cboCategories, "Computers");

    env.boxes.ExpectMessage(BoxAnswer::Yes);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    form->PushButton[15]->click();
    QCOMPARE(env.boxes.shown().size(), 2);
    QCOMPARE(env.boxes.shown()[1].request.title, QString("Application Error"));
    QVERIFY(env.boxes.shown()[1].request.prompt.contains(ErrorLocation("PushButton15_Click", 104)));
    QCOMPARE(Count("[Asset Categories]"), 2LL);
    QCOMPARE(Count("Assets"), 1LL);
    QCOMPARE(Count("Maintenance"), 1LL);
    QCOMPARE(form->cboCategories->count(), 2);
}

QTEST_MAIN(TestLookups)
#include "test_lookups.moc"
