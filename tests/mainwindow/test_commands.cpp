#include "mainwindow/CommandsFixture.h"

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

void ExpectQuestion(const RecordingBoxes::Shown& box, const QString& prompt, const QString& title)
{
    QCOMPARE(box.request.prompt, prompt);
    QCOMPARE(box.request.title, title);
    QCOMPARE(box.request.buttons, BoxButtons::YesNo);
    QCOMPARE(box.request.icon, BoxIcon::None);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    // On an empty list only Add New Record works; with no selection, no answer or a double
    // click nothing changes.
    void withoutSelectionOnlyAddNewRecordWorks()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        ListView& list = *form->ListView1;
        {
            ModalRecorder nothing;
            for (const char* button : {"PushButton1", "PushButton3", "PushButton5"})
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
        QCOMPARE(list.SelectedIndex(), -1);

        ModalRecorder nothing;
        Click(*form, "PushButton1");
        Click(*form, "PushButton3");
        QCOMPARE(env.boxes.shown().size(), 0);
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
        ExpectQuestion(env.boxes.shown()[0], "Are you sure you want to delete this asset?",
                       "Delete Current Asset");
        ExpectQuestion(env.boxes.shown()[1], "Are you sure you would like to delete all records?",
                       "Delete All Records");
        QCOMPARE(Count("Assets"), 2);
        QCOMPARE(list.ItemCount(), 1);
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

    void helpNamesTheContactPageWhateverTheList()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        env.boxes.ExpectMessage(BoxAnswer::OK);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, "PushButton6");
        AddAsset(AssetRow(AddLookupRows()));
        form->ListData();
        form->ListView1->SelectItem(0);
        Click(*form, "PushButton6");
        QCOMPARE(env.boxes.shown().size(), 2);
        for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
            QCOMPARE(box.request.prompt, QString("Questions? Please contact Team Velquor at "
                                                 "https://www.tarnwick.example/contact/"));
            QCOMPARE(box.request.title, QString("Tarnwick"));
            QCOMPARE(box.request.buttons, BoxButtons::OK);
            QCOMPARE(box.request.icon, BoxIcon::None);
        }
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
