#include "mainwindow/CommandsFixture.h"

#include "editor/EditorFixture.h"

class TestCommands : public QObject
{
    Q_OBJECT

private:
    // Two assets with a maintenance and a depreciation entry each, in a fresh database.
    struct TwoAssets
    {
        LookupIds ids;
        QString first, second;
    };
    static TwoAssets AddTwoAssets()
    {
        TwoAssets assets{AddLookupRows(), {}, {}};
        assets.first = AddAsset(AssetRow(assets.ids));
        assets.second = AddAsset(AssetRow(assets.ids));
        for (const QString& id : {assets.first, assets.second}) {
            AddMaintenance(id, "25");
            AddDepreciation(id, "100");
        }
        return assets;
    }
    static long long Count(const QString& table, const QString& where = QString())
    {
        return QueryCount("select count(*) from " + table + where);
    }
    static long long LookupRows()
    {
        return Count("Employees") + Count("Vendors") + Count("[Asset Categories]") +
               Count("Status") + Count("Departments");
    }

private slots:
    void anEmptyListLeavesOnlyAddNewRecordWorking()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        ModalRecorder modal;
        for (const char* button : {"PushButton1", "PushButton3", "PushButton5"})
            Click(*form, button);
        QCOMPARE(modal.shown, 0);
        QCOMPARE(env.boxes.shown().size(), 0);

        LookupIds ids = AddLookupRows();
        bool addNew = false;
        QString assetId = "unset", caption;
        ModalRecorder editor([&](QWidget& window) {
            auto& form4 = dynamic_cast<Form4&>(window);
            addNew = form4.m_AddNew;
            assetId = form4.m_AssetID;
            caption = form4.windowTitle();
            AddAsset(AssetRow(ids));
        });
        Click(*form, "PushButton2");
        QCOMPARE(editor.shown, 1);
        QVERIFY(addNew);
        QCOMPARE(assetId, QString());
        QCOMPARE(caption, QString("Add New Asset"));
        // The list was rebuilt, with nothing selected.
        QCOMPARE(form->ListView1->ItemCount(), 1);
        QCOMPARE(form->ListView1->SelectedIndex(), -1);
    }

    void editOpensTheSelectedAssetAndSelectsItsPositionAgain()
    {
        TestEnvironment env;
        env.OpenDatabase();
        LookupIds ids = AddLookupRows();
        for (const char* model : {"'A1'", "'A2'", "'A3'"}) {
            AssetRow row(ids);
            row.description = model;
            AddAsset(row);
        }
        env.CloseDatabase();
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;

        {
            QString assetId, description, caption;
            bool addNew = true;
            ModalRecorder editor([&](QWidget& window) {
                auto& form4 = dynamic_cast<Form4&>(window);
                assetId = form4.m_AssetID;
                addNew = form4.m_AddNew;
                caption = form4.windowTitle();
                // Loaded on the asset: its key was set before the caption loaded the window.
                description = form4.txtDescription->toPlainText();
                AddAsset(AssetRow(ids));
                form4.PushButton[2]->click(); // Cancel
            });
            list.SelectItem(1);
            const QString selected = list.ItemText(1);
            Click(*form, "PushButton1");
            QCOMPARE(editor.shown, 1);
            QCOMPARE(assetId, selected);
            QVERIFY(!addNew);
            QCOMPARE(caption, QString("Edit Data"));
            QCOMPARE(description, list.SubItemText(1, 7));
            // Cancelled, yet rebuilt; the second position is selected again.
            QCOMPARE(list.ItemCount(), 4);
            QCOMPARE(list.SelectedIndex(), 1);
        }
        ModalRecorder editor;
        list.SelectItem(2);
        Click(*form, "PushButton1");
        QCOMPARE(list.SelectedIndex(), 2);
        // The last position: the list is not longer than that, so nothing is selected.
        list.SelectItem(3);
        Click(*form, "PushButton1");
        QCOMPARE(editor.shown, 2);
        QCOMPARE(list.SelectedIndex(), -1);
        QCOMPARE(env.boxes.shown().size(), 0);
    }

    void positionsBeyondSixteenBitsAreSelectedAgain()
    {
        TestEnvironment env;
        env.OpenDatabase();
        LookupIds ids = AddLookupRows();
        AddAsset(AssetRow(ids));
        RawSql("insert into Assets (AssetDescription,EmployeeID,AssetCategoryID,StatusID,"
               "DepartmentID,VendorID) with recursive n(i) as (select 1 union all select i+1 "
               "from n where i < 33000) select 'Bulk',EmployeeID,AssetCategoryID,StatusID,"
               "DepartmentID,VendorID from n, Assets");
        env.CloseDatabase();
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;
        QCOMPARE(list.ItemCount(), 33001);
        ModalRecorder editor([&](QWidget&) { AddAsset(AssetRow(ids)); });
        list.SelectItem(33000 - 1);
        Click(*form, "PushButton1");
        QCOMPARE(env.boxes.shown().size(), 0);
        QCOMPARE(list.SelectedIndex(), 33000 - 1);
    }

    void rowsWithNoneSelectedAreLeftAlone()
    {
        TestEnvironment env;
        env.OpenDatabase();
        AddTwoAssets();
        env.CloseDatabase();
        auto form = StartMainWindow();
        form->ListView1->clearSelection();
        QCOMPARE(form->ListView1->SelectedIndex(), -1);
        ModalRecorder modal;
        Click(*form, "PushButton1");
        Click(*form, "PushButton3");
        QCOMPARE(modal.shown, 0);
        QCOMPARE(env.boxes.shown().size(), 0);
        QCOMPARE(Count("Assets"), 2);
    }

    void doubleClickingARowStartsNothing()
    {
        TestEnvironment env;
        env.OpenDatabase();
        AddTwoAssets();
        env.CloseDatabase();
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;
        ModalRecorder modal;
        const QPoint row = list.visualRect(list.model()->index(0, 0)).center();
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(modal.shown, 0);
        QCOMPARE(env.boxes.shown().size(), 0);
    }

    void deleteSelectedRemovesTheAssetWithItsHistoriesAfterYes()
    {
        TestEnvironment env;
        env.OpenDatabase();
        TwoAssets assets = AddTwoAssets();
        env.CloseDatabase();
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;
        const long long lookups = LookupRows();
        const int row = list.ItemText(0) == assets.first ? 0 : 1;
        list.SelectItem(row);
        // Not shown until the list is rebuilt.
        AddAsset(AssetRow(assets.ids));

        env.boxes.ExpectMessage(BoxAnswer::No);
        Click(*form, "PushButton3");
        QCOMPARE(Count("Assets"), 3);
        QCOMPARE(list.ItemCount(), 2);

        env.boxes.ExpectMessage(BoxAnswer::Yes);
        Click(*form, "PushButton3");
        QCOMPARE(env.boxes.shown().size(), 2);
        for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
            QCOMPARE(box.request.prompt, QString("Are you sure you want to delete this asset?"));
            QCOMPARE(box.request.title, QString("Delete Current Asset"));
            QCOMPARE(box.request.buttons, BoxButtons::YesNo);
            QCOMPARE(box.request.icon, BoxIcon::None);
        }
        const QString first = " where AssetID=" + assets.first;
        const QString second = " where AssetID=" + assets.second;
        QCOMPARE(Count("Assets", first), 0);
        QCOMPARE(Count("Depreciation", first), 0);
        QCOMPARE(Count("Maintenance", first), 0);
        QCOMPARE(Count("Assets", second), 1);
        QCOMPARE(Count("Depreciation", second), 1);
        QCOMPARE(Count("Maintenance", second), 1);
        QCOMPARE(LookupRows(), lookups);
        QCOMPARE(list.ItemCount(), 2);
    }

    void deleteSelectedIsAllOrNothing()
    {
        TestEnvironment env;
        env.OpenDatabase();
        TwoAssets assets = AddTwoAssets();
        env.CloseDatabase();
        auto form = StartMainWindow();
        Refuse("delete", "Maintenance");
        AddAsset(AssetRow(assets.ids));
        form->ListView1->SelectItem(0);
        const QString where = " where AssetID=" + form->ListView1->ItemText(0);

        env.boxes.ExpectMessage(BoxAnswer::Yes);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, "PushButton3");
        QCOMPARE(env.boxes.shown().size(), 2);
        const BoxRequest& report = env.boxes.shown()[1].request;
        QCOMPARE(report.title, QString("Application Error"));
        QVERIFY(report.prompt.contains(CommandLocation("PushButton3_Click", 104)));
        // The asset and its depreciation, deleted before the refusal, are back.
        QCOMPARE(Count("Assets", where), 1);
        QCOMPARE(Count("Depreciation", where), 1);
        QCOMPARE(Count("Maintenance", where), 1);
        // The list was rebuilt all the same.
        QCOMPARE(form->ListView1->ItemCount(), 3);
    }

    void deleteAllEmptiesTheAssetsAndHistoriesOnly()
    {
        TestEnvironment env;
        env.OpenDatabase();
        AddTwoAssets();
        env.CloseDatabase();
        auto form = StartMainWindow();
        const long long lookups = LookupRows();
        form->ListView1->clearSelection();

        env.boxes.ExpectMessage(BoxAnswer::No);
        Click(*form, "PushButton5");
        QCOMPARE(Count("Assets"), 2);
        QCOMPARE(Count("Maintenance"), 2);

        env.boxes.ExpectMessage(BoxAnswer::Yes);
        Click(*form, "PushButton5");
        for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
            QCOMPARE(box.request.prompt,
                     QString("Are you sure you would like to delete all records?"));
            QCOMPARE(box.request.title, QString("Delete All Records"));
            QCOMPARE(box.request.buttons, BoxButtons::YesNo);
            QCOMPARE(box.request.icon, BoxIcon::None);
        }
        QCOMPARE(Count("Assets") + Count("Depreciation") + Count("Maintenance"), 0);
        QCOMPARE(LookupRows(), lookups);
        QCOMPARE(form->ListView1->ItemCount(), 0);
    }

    void deleteAllIsAllOrNothing()
    {
        TestEnvironment env;
        env.OpenDatabase();
        AddTwoAssets();
        env.CloseDatabase();
        auto form = StartMainWindow();
        Refuse("delete", "Maintenance");
        env.boxes.ExpectMessage(BoxAnswer::Yes);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, "PushButton5");
        QCOMPARE(env.boxes.shown().size(), 2);
        QVERIFY(env.boxes.shown()[1].request.prompt.contains(
            CommandLocation("PushButton5_Click", 104)));
        QCOMPARE(Count("Assets"), 2);
        QCOMPARE(Count("Depreciation"), 2);
        QCOMPARE(Count("Maintenance"), 2);
        QCOMPARE(form->ListView1->ItemCount(), 2);
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
