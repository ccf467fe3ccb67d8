#include "mainwindow/MainWindowFixture.h"

class TestList : public QObject
{
    Q_OBJECT

private slots:
    void headersThenEveryColumnAsPlainText();
    void clicksSortByValueToggleAndSurviveRebuilds();
    void missingColumnOrQueryIsReportedAndTheRestIsRead();
};

namespace {

// One employee, vendor, category, status and department, each with key 1.
void AddLookups()
{
    RawSql("insert into Employees (FirstName, LastName) values ('John', 'Smith')");
    RawSql("insert into Vendors (VendorName) values ('Acme Supply')");
    RawSql("insert into [Asset Categories] (AssetCategory) values ('Computers')");
    RawSql("insert into Status (Status) values ('In Use')");
    RawSql("insert into Departments (DepartmentName) values ('Accounts')");
}

// An asset with the given key, price, acquisition date (ISO text or null) and employee key,
// the rest filled in.
void AddAsset(int id, const QString& price, const QString& acquired, const QString& employee)
{
    RawSql(QString("insert into Assets (AssetID, AssetDescription, EmployeeID, AssetCategoryID, "
                   "StatusID, DepartmentID, VendorID, ModelNumber, SerialNumber, BarcodeNumber, "
                   "DateAcquired, PurchasePrice, DepreciationMethod, DepreciableLife, "
                   "SalvageValue, CurrentValue, Comments) values (%1, 'Laptop %1', %4, 1, 1, 1, "
                   "1, 'M-%1', 'S-%1', 'B-%1', %3, %2, 'SL', 5, 100, %2, 'note %1')")
               .arg(id)
               .arg(price, acquired, employee));
}

} // namespace

void TestList::headersThenEveryColumnAsPlainText()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    ListView& list = *form->ListView1;
    QCOMPARE(list.ColumnCount(), 19);
    QCOMPARE(list.ItemCount(), 0);
    const auto* model = list.model();
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("ID"));
    QCOMPARE(model->headerData(6, Qt::Horizontal).toString(), QString("Next Maintenance"));
    QCOMPARE(model->headerData(18, Qt::Horizontal).toString(), QString("Comments"));

    AddLookups();
    AddAsset(1, "1234.5", "'2021-03-15'", "1");
    RawSql("update Assets set DateSold = '2024-11-02', NextSchedMaint = '2027-01-31' "
           "where AssetID = 1");
    // Lookups that are not there and no dates at all: the asset is still listed.
    AddAsset(2, "584", "null", "77");
    RawSql("update Assets set VendorID = 99 where AssetID = 2");
    form->ListData();
    QCOMPARE(list.ItemCount(), 2);
    const QStringList first{"1",        "Smith, John", "Acme Supply", "Computers", "In Use",
                            "Accounts", "1/31/2027",   "Laptop 1",    "3/15/2021", "11/2/2024",
                            "M-1",      "S-1",         "B-1",         "1234.5",    "1234.5",
                            "SL",       "5",           "100",         "note 1"};
    for (int column = 0; column < 19; ++column)
        QCOMPARE(ColumnTexts(list, column).at(0), first.at(column));
    QCOMPARE(list.ItemText(1), QString("2"));
    for (int emptyColumn : {1, 2, 6, 8, 9})
        QCOMPARE(list.SubItemText(1, emptyColumn), QString());
    QCOMPARE(list.SubItemText(1, 3), QString("Computers"));
    QCOMPARE(list.SubItemText(1, 13), QString("584"));
    QVERIFY(env.boxes.shown().isEmpty());
}

void TestList::clicksSortByValueToggleAndSurviveRebuilds()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    AddLookups();
    RawSql("insert into Employees (FirstName, LastName) values ('Ann', 'Baker')");
    RawSql("insert into Employees (FirstName, LastName) values ('Zoe', 'adams')");
    AddAsset(10, "1000", "'2019-10-02'", "1");
    AddAsset(2, "584", "'2021-03-15'", "2");
    AddAsset(9, "99.95", "null", "3");
    AddAsset(11, "584.01", "'2020-12-01'", "77");
    form->ListData();
    ListView& list = *form->ListView1;
    QVERIFY(!list.Sorted());

    // Keys, money and dates by value, the empty date first; each column starts ascending
    // and a second click turns it round.
    ClickHeader(list, 0);
    QCOMPARE(ColumnTexts(list, 0), QStringList({"2", "9", "10", "11"}));
    form->ListView1_ColumnClick(13);
    QCOMPARE(ColumnTexts(list, 13), QStringList({"99.95", "584", "584.01", "1000"}));
    form->ListView1_ColumnClick(13);
    QVERIFY(list.SortKey() == 13 && list.SortOrder() == 1);
    QCOMPARE(ColumnTexts(list, 13), QStringList({"1000", "584.01", "584", "99.95"}));
    form->ListView1_ColumnClick(8);
    QCOMPARE(ColumnTexts(list, 8), QStringList({"", "10/2/2019", "12/1/2020", "3/15/2021"}));
    form->ListView1_ColumnClick(8);
    QCOMPARE(ColumnTexts(list, 8), QStringList({"3/15/2021", "12/1/2020", "10/2/2019", ""}));

    // Text sorts by the locale's collation, not by case.
    ClickHeader(list, 1);
    QVERIFY(list.SortKey() == 1 && list.SortOrder() == 0);
    QCOMPARE(ColumnTexts(list, 1), QStringList({"", "adams, Zoe", "Baker, Ann", "Smith, John"}));
    ClickHeader(list, 1);

    // A rebuild with a new row keeps the sort, and the new row takes its place in it.
    RawSql("insert into Employees (FirstName, LastName) values ('Carl', 'Moss')");
    AddAsset(4, "7", "null", "4");
    form->ListData();
    QVERIFY(list.Sorted());
    QCOMPARE(ColumnTexts(list, 1),
             QStringList({"Smith, John", "Moss, Carl", "Baker, Ann", "adams, Zoe", ""}));
    QCOMPARE(ColumnTexts(list, 0), QStringList({"10", "4", "2", "9", "11"}));
}

// A view without the comments column, then no view at all.
void TestList::missingColumnOrQueryIsReportedAndTheRestIsRead()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    AddLookups();
    AddAsset(1, "10", "null", "1");
    AddAsset(2, "20", "null", "1");
    RawSql("drop view qryAssets");
    RawSql("create view qryAssets as select AssetID, AssetDescription as Employee, "
           "ModelNumber as VendorName, '' as AssetCategory, '' as Status, "
           "'' as DepartmentName, NextSchedMaint, AssetDescription, DateAcquired, DateSold, "
           "ModelNumber, SerialNumber, BarcodeNumber, PurchasePrice, CurrentValue, "
           "DepreciationMethod, DepreciableLife, SalvageValue from Assets");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    form->ListData();
    // One report for each row, at the step that reads the column.
    QCOMPARE(env.boxes.shown().size(), 2);
    for (const QString& prompt : env.boxes.prompts())
        QVERIFY2(prompt.contains(CommandLocation("ListData", 142)), qPrintable(prompt));
    ListView& list = *form->ListView1;
    QCOMPARE(ColumnTexts(list, 0), QStringList({"1", "2"}));
    QCOMPARE(ColumnTexts(list, 17), QStringList({"100", "100"}));
    QCOMPARE(ColumnTexts(list, 18), QStringList({"", ""}));

    // No view: reported once, the list left empty with its columns.
    RawSql("drop view qryAssets");
    env.boxes.clear();
    env.boxes.ExpectMessage(BoxAnswer::OK);
    form->ListData();
    QCOMPARE(env.boxes.shown().size(), 1);
    QVERIFY(env.boxes.prompts().at(0).contains(CommandLocation("ListData", 102)));
    QCOMPARE(list.ItemCount(), 0);
    QCOMPARE(list.ColumnCount(), 19);
}

QTEST_MAIN(TestList)
#include "test_list.moc"
