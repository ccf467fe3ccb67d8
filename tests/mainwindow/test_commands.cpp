#include "mainwindow/MainWindowFixture.h"

#include "editor/EditorFixture.h"

namespace {

long long Count(const QString& table, const QString& where = QString())
{
    return QueryCount("select count(*) from " + table + where);
}

long long LookupRows()
{
    return Count("Employees") + Count("Vendors") + Count("[Asset Categories]") + Count("Status") +
           Count("Departments");
}

// A database with `assets` assets, each with one maintenance and one depreciation entry.
LookupIds Prepare(TestEnvironment& env, int assets)
{
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    for (int i = 0; i < assets; ++i) {
        const QString id = AddAsset(AssetRow(ids));
        AddMaintenance(id, "25");
        AddDepreciation(id, "100");
    }
    env.CloseDatabase();
    return ids;
}

void ExpectBox(const RecordingBoxes::Shown& box, const QString& prompt, const QString& title,
               BoxButtons buttons = BoxButtons::YesNo, BoxDefault defaultButton = BoxDefault::First)
{
    QCOMPARE(box.request.prompt, prompt);
    QCOMPARE(box.request.title, title);
    QCOMPARE(box.request.buttons, buttons);
    QCOMPARE(box.request.icon, BoxIcon::None);
    QCOMPARE(box.request.defaultButton, defaultButton);
}

// An asset with the given key, price, acquisition date (ISO text or null) and employee key,
// the rest filled in with the first lookup rows' keys (1).
void InsertAsset(int id, const QString& price, const QString& acquired, const QString& employee)
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

// The asset list and the commands of the buttons under it.
class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    // On an empty list only Add New Record and Help work; with no selection, no answer or a
    // double click nothing changes. Help names the contact page whatever the list.
    void withoutSelectionOnlyAddNewRecordAndHelpWork()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;
        {
            ModalRecorder nothing;
            env.boxes.ExpectMessage(BoxAnswer::OK);
            for (const char* button : {"PushButton1", "PushButton3", "PushButton5", "PushButton6"})
                Click(*form, button);
            QCOMPARE(nothing.shown, 0);
        }
        const LookupIds ids = AddLookupRows();
        QString seen;
        {
            ModalRecorder editor([&](QWidget& window) {
                auto& form4 = dynamic_cast<Form4&>(window);
                seen = QString("%1|%2|%3")
                           .arg(form4.m_AddNew)
                           .arg(form4.m_AssetID, form4.windowTitle());
                AddAsset(AssetRow(ids));
            });
            Click(*form, "PushButton2");
        }
        QCOMPARE(seen, QString("1||Add New Asset"));
        QCOMPARE(list.ItemCount(), 1);
        // The new asset is selected, so that its histories can be added at once.
        QCOMPARE(list.SelectedIndex(), 0);
        list.SelectItem(-1);

        ModalRecorder nothing;
        Click(*form, "PushButton1");
        Click(*form, "PushButton3");
        QCOMPARE(env.boxes.shown().size(), 1);
        list.SelectItem(0);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                           list.visualRect(list.model()->index(0, 0)).center());
        QCOMPARE(nothing.shown, 0);
        // Not in the list until it is rebuilt.
        AddAsset(AssetRow(ids));
        env.boxes.ExpectMessage(BoxAnswer::No);
        env.boxes.ExpectMessage(BoxAnswer::No);
        Click(*form, "PushButton3");
        Click(*form, "PushButton5");
        ExpectBox(env.boxes.shown()[1], "Are you sure you want to delete this asset?",
                  "Delete Current Asset");
        // A stray Enter must not delete every asset.
        ExpectBox(env.boxes.shown()[2], "Are you sure you would like to delete all records?",
                  "Delete All Records", BoxButtons::YesNo, BoxDefault::Second);
        QCOMPARE(Count("Assets"), 2);
        QCOMPARE(list.ItemCount(), 1);
        list.SelectItem(0);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, "PushButton6");
        QCOMPARE(env.boxes.shown().size(), 4);
        for (int n : {0, 3})
            ExpectBox(env.boxes.shown()[n],
                      "Questions? Please contact Team Velquor at "
                      "https://www.tarnwick.example/contact/",
                      "Tarnwick", BoxButtons::OK);
    }

    void editRebuildsAndSelectsThePositionAgainUnlessItWasTheLast()
    {
        TestEnvironment env;
        const LookupIds ids = Prepare(env, 3);
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;
        QString seen;
        int opened = 0;
        ModalRecorder editor([&](QWidget& window) {
            auto& form4 = dynamic_cast<Form4&>(window);
            // Loaded on the asset: its key was handed over before the caption loaded it.
            seen =
                QString("%1|%2|%3|%4")
                    .arg(form4.m_AddNew)
                    .arg(form4.m_AssetID, form4.windowTitle(), form4.txtDescription->toPlainText());
            if (++opened == 1)
                AddAsset(AssetRow(ids));
            form4.PushButton[2]->click(); // Cancel
        });
        list.SelectItem(1);
        const QString selected = list.ItemText(1);
        Click(*form, "PushButton1");
        QCOMPARE(seen, "0|" + selected + "|Edit Data|Pump");
        // Cancelled, yet rebuilt.
        QCOMPARE(list.ItemCount(), 4);
        QCOMPARE(list.SelectedIndex(), 1);
        list.SelectItem(3);
        Click(*form, "PushButton1");
        QCOMPARE(editor.shown, 2);
        QCOMPARE(list.SelectedIndex(), -1);
        QCOMPARE(env.boxes.shown().size(), 0);
    }

    // Delete Selected takes the asset's histories with it and Delete All every asset's, each
    // all or nothing; lookup rows stay.
    void deletesTakeTheHistoriesWithThemAllOrNothing()
    {
        for (const char* button : {"PushButton3", "PushButton5"}) {
            const bool all = QString(button) == "PushButton5";
            TestEnvironment env;
            Prepare(env, 2);
            auto form = StartMainWindow();
            ListView& list = *form->ListView1;
            const long long lookups = LookupRows();
            const QString where = all ? QString() : " where AssetID=" + list.ItemText(0);
            auto rows = [&] {
                return Count("Assets", where) + Count("Depreciation", where) +
                       Count("Maintenance", where);
            };
            const long long before = rows();
            Refuse("delete", "Maintenance");
            for (bool refused : {true, false}) {
                if (all)
                    list.clearSelection();
                else
                    list.SelectItem(0);
                env.boxes.ExpectMessage(BoxAnswer::Yes);
                if (refused)
                    env.boxes.ExpectMessage(BoxAnswer::OK);
                Click(*form, button);
                if (refused) {
                    const QByteArray procedure = QByteArray(button) + "_Click";
                    QCOMPARE(env.boxes.shown()[1].request.title, QString("Application Error"));
                    QVERIFY(env.boxes.shown()[1].request.prompt.contains(
                        CommandLocation(procedure.constData(), 104)));
                    QCOMPARE(rows(), before);
                    Refuse("delete", "Maintenance", false);
                }
            }
            QCOMPARE(rows(), 0);
            QCOMPARE(Count("Assets") + Count("Depreciation") + Count("Maintenance"), all ? 0 : 3);
            QCOMPARE(LookupRows(), lookups);
            QCOMPARE(list.ItemCount(), all ? 0 : 1);
        }
    }

    void headersThenEveryColumnAsPlainText()
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

        AddLookupRows();
        InsertAsset(1, "1234.5", "'2021-03-15'", "1");
        RawSql("update Assets set DateSold = '2024-11-02', NextSchedMaint = '2027-01-31' "
               "where AssetID = 1");
        // Lookups that are not there and no dates at all: the asset is still listed.
        InsertAsset(2, "584", "null", "77");
        RawSql("update Assets set VendorID = 99 where AssetID = 2");
        form->ListData();
        QCOMPARE(list.ItemCount(), 2);
        const QStringList first{"1",     "Smith, John", "Bolt",     "Printers",  "Retired",
                                "Works", "1/31/2027",   "Laptop 1", "3/15/2021", "11/2/2024",
                                "M-1",   "S-1",         "B-1",      "1234.5",    "1234.5",
                                "SL",    "5",           "100",      "note 1"};
        for (int column = 0; column < 19; ++column)
            QCOMPARE(ColumnTexts(list, column).at(0), first.at(column));
        QCOMPARE(list.ItemText(1), QString("2"));
        for (int emptyColumn : {1, 2, 6, 8, 9})
            QCOMPARE(list.SubItemText(1, emptyColumn), QString());
        QCOMPARE(list.SubItemText(1, 3), QString("Printers"));
        QCOMPARE(list.SubItemText(1, 13), QString("584"));
        QVERIFY(env.boxes.shown().isEmpty());
    }

    void clicksSortByValueToggleAndSurviveRebuilds()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        AddLookupRows();
        RawSql("insert into Employees (FirstName, LastName) values ('Zoe', 'adams')");
        InsertAsset(10, "1000", "'2019-10-02'", "1");
        InsertAsset(2, "584", "'2021-03-15'", "2");
        InsertAsset(9, "99.95", "null", "3");
        InsertAsset(11, "584.01", "'2020-12-01'", "77");
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
        QCOMPARE(ColumnTexts(list, 1),
                 QStringList({"", "adams, Zoe", "O'Brien, Ann", "Smith, John"}));
        ClickHeader(list, 1);

        // A rebuild with a new row keeps the sort, and the new row takes its place in it.
        RawSql("insert into Employees (FirstName, LastName) values ('Carl', 'Moss')");
        InsertAsset(4, "7", "null", "4");
        form->ListData();
        QVERIFY(list.Sorted());
        QCOMPARE(ColumnTexts(list, 1),
                 QStringList({"Smith, John", "O'Brien, Ann", "Moss, Carl", "adams, Zoe", ""}));
        QCOMPARE(ColumnTexts(list, 0), QStringList({"10", "2", "4", "9", "11"}));
    }

    // A view without the comments column, then no view at all.
    void missingColumnOrQueryIsReportedAndTheRestIsRead()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        AddLookupRows();
        InsertAsset(1, "10", "null", "1");
        InsertAsset(2, "20", "null", "1");
        RawSql("drop view qryAssets");
        RawSql("create view qryAssets as select AssetID, AssetDescription as Employee, "
               "ModelNumber as VendorName, '' as AssetCategory, '' as Status, "
               "'' as DepartmentName, NextSchedMaint, AssetDescription, DateAcquired, DateSold, "
               "ModelNumber, SerialNumber, BarcodeNumber, PurchasePrice, CurrentValue, "
               "DepreciationMethod, DepreciableLife, SalvageValue from Assets");
        env.boxes.ExpectMessage(BoxAnswer::OK);
        form->ListData();
        // One report for the fill, however many rows, at the step that reads the column.
        QCOMPARE(env.boxes.shown().size(), 1);
        QVERIFY(env.boxes.prompts()[0].contains(CommandLocation("ListData", 142)));
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
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
