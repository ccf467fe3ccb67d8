#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"

#include "mainwindow/FindField.h"
#include "mainwindow/MainMenu.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

// The menu bar of the main window, the find field, the new asset's selection after an add, and
// the due maintenance marks and view, driven on the real window.
namespace {

QAction* Entry(Form1& form, const char* name)
{
    auto* action = form.Menu->findChild<QAction*>(name);
    if (!action)
        qFatal("no menu entry %s", name);
    return action;
}

QString Count(Form1& form)
{
    return form.Menu->Find->findChild<QLabel*>("FindCount")->text();
}

// The main window over five assets: descriptions with and without accents and the next
// maintenance past, today, soon, later and never (today is pinned to 7 Dec 2026).
std::unique_ptr<Form1> StartWithFiveAssets(TestEnvironment& env)
{
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    const struct
    {
        const char* description;
        const char* next;
    } assets[] = {{"'José''s desk'", "'2026-11-03'"},
                  {"'Dell 5440 laptop'", "'2026-12-07'"},
                  {"'Forklift'", "'2027-01-20'"},
                  {"'Dell monitor'", "'2026-12-20'"},
                  {"'Printer'", "null"}};
    for (const auto& asset : assets) {
        AssetRow row(ids);
        row.description = asset.description;
        row.next = asset.next;
        AddAsset(row);
    }
    env.CloseDatabase();
    return StartMainWindow();
}

} // namespace

class TestMenu : public QObject
{
    Q_OBJECT

private slots:
    // Each entry with its shortcut; the keyboard reaches the menus and the find field.
    void entriesShortcutsAndKeyboard()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const struct
        {
            const char* name;
            QString text;
            QKeySequence keys;
        } entries[] = {
            {"actionExport", "&Export…", QKeySequence("Ctrl+E")},
            {"actionImport", "&Import…", QKeySequence("Ctrl+I")},
            {"actionBackUp", "&Back Up…", QKeySequence("Ctrl+B")},
            {"actionRestore", "&Restore…", QKeySequence()},
            {"actionQuit", "&Quit", QKeySequence::Quit},
            {"actionFind", "&Find…", QKeySequence::Find},
            {"actionDue", "&Due for maintenance", QKeySequence("Ctrl+D")},
            {"actionRefresh", "&Refresh", QKeySequence::Refresh},
            {"actionHelp", "&Help", QKeySequence::HelpContents},
            {"actionAbout", "&About Tarnwick", QKeySequence()},
        };
        for (const auto& entry : entries) {
            QCOMPARE(Entry(*form, entry.name)->text(), entry.text);
            QCOMPARE(Entry(*form, entry.name)->shortcut(), QKeySequence(entry.keys));
        }
        QStringList menus;
        for (QAction* menu : form->Menu->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Help"}));

        // Help gives the design's message; About names the version.
        env.boxes.ExpectMessage(BoxAnswer::OK);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        QTest::keyClick(form.get(), Qt::Key_F1);
        Entry(*form, "actionAbout")->trigger();
        QVERIFY(env.boxes.prompts()[0].startsWith("Questions? Please contact Team Velquor"));
        QVERIFY(env.boxes.prompts()[1].startsWith("Tarnwick " TARNWICK_TEST_VERSION));

        // Ctrl+F puts the focus in the find field; F10 and Alt+V open the menus.
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("FindField"));
        for (const auto& [key, modifiers, menu] :
             {std::tuple{Qt::Key_F10, Qt::NoModifier, "FileMenu"},
              std::tuple{Qt::Key_V, Qt::AltModifier, "ViewMenu"}}) {
            QTest::keyClick(form.get(), key, modifiers);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QCOMPARE(QApplication::activePopupWidget()->objectName(), QString(menu));
            QApplication::activePopupWidget()->close();
        }
    }

    // Typing finds the rows with every word, without regard to case or accents, keeps the
    // sort, survives rebuilds, and Edit and Delete act on the selected row shown.
    void findAsYouTypeAndTheCommandsOnTheRowsShown()
    {
        TestEnvironment env;
        auto form = StartWithFiveAssets(env);
        ListView& list = *form->ListView1;
        QLineEdit& field = *form->Menu->Find->Edit();
        QCOMPARE(Count(*form), QString());
        QTest::keyClicks(&field, "JOSE");
        QCOMPARE(ColumnTexts(list, 7), QStringList({"José's desk"}));
        QCOMPARE(Count(*form), QString("1 of 5"));
        QTest::keyClick(&field, Qt::Key_Escape);
        QCOMPARE(field.text(), QString());
        QCOMPARE(list.ItemCount(), 5);
        QTest::keyClicks(&field, "dell o'brien");
        QCOMPARE(ColumnTexts(list, 7), QStringList({"Dell 5440 laptop", "Dell monitor"}));
        ClickHeader(list, 7);
        ClickHeader(list, 7);
        QCOMPARE(ColumnTexts(list, 7), QStringList({"Dell monitor", "Dell 5440 laptop"}));
        QCOMPARE(Count(*form), QString("2 of 5"));

        // Edit opens the selected row shown; the rebuild after it keeps the find and the sort.
        QString opened;
        ModalRecorder editor([&](QWidget& window) {
            opened = dynamic_cast<Form4&>(window).txtDescription->toPlainText();
            AddAsset(AssetRow(AddLookupRows()));
        });
        list.SelectItem(0);
        Click(*form, "PushButton1");
        QCOMPARE(opened, QString("Dell monitor"));
        QCOMPARE(ColumnTexts(list, 7), QStringList({"Dell monitor", "Dell 5440 laptop"}));
        QCOMPARE(Count(*form), QString("2 of 6"));
        // Delete takes the selected row shown; a selection the find hides is dropped.
        list.SelectItem(1);
        env.boxes.ExpectMessage(BoxAnswer::Yes);
        Click(*form, "PushButton3");
        QCOMPARE(QueryCount("select count(*) from Assets where AssetDescription like 'Dell 5%'"),
                 0);
        QCOMPARE(ColumnTexts(list, 7), QStringList({"Dell monitor"}));
        list.SelectItem(0);
        field.setText("forklift");
        QCOMPARE(list.SelectedIndex(), -1);
        Click(*form, "PushButton1");
        QCOMPARE(editor.shown, 1);

        // The asset an add stores is selected and in view, even when the find hid it.
        ModalRecorder adder([](QWidget&) {
            AssetRow row(AddLookupRows());
            row.description = "'Scanner'";
            AddAsset(row);
        });
        Click(*form, "PushButton2");
        QCOMPARE(field.text(), QString());
        QCOMPARE(list.ItemCount(), 6);
        QCOMPARE(list.SubItemText(list.SelectedIndex(), 7), QString("Scanner"));
        QVERIFY(list.viewport()->rect().contains(
            list.visualRect(list.model()->index(list.SelectedIndex(), 0)).center()));
    }

    // A next maintenance of today or before carries a sign and says since when; the due view
    // shows those and the ones due within 30 days, soonest first, and ends as it began.
    void dueMarksAndTheDueView()
    {
        TestEnvironment env;
        auto form = StartWithFiveAssets(env);
        ListView& list = *form->ListView1;
        const QStringList all = ColumnTexts(list, 7);
        auto note = [&](int row, int role) { return list.model()->index(row, 6).data(role); };
        QCOMPARE(note(0, Qt::ToolTipRole).toString(), QString("Maintenance due since 3 Nov 2026"));
        QCOMPARE(note(1, Qt::ToolTipRole).toString(), QString("Maintenance due today"));
        QVERIFY(!note(0, Qt::DecorationRole).isNull() && !note(1, Qt::DecorationRole).isNull());
        for (int row : {2, 3, 4})
            QVERIFY(note(row, Qt::DecorationRole).isNull());

        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(Entry(*form, "actionDue")->isChecked());
        QCOMPARE(ColumnTexts(list, 7),
                 QStringList({"José's desk", "Dell 5440 laptop", "Dell monitor"}));
        QCOMPARE(Count(*form), QString("3 due of 5"));
        Entry(*form, "actionDue")->trigger();
        QCOMPARE(ColumnTexts(list, 7), all);
        QVERIFY(!list.Sorted());
        QCOMPARE(Count(*form), QString());
        QVERIFY(env.boxes.shown().isEmpty());
    }
};

QTEST_MAIN(TestMenu)
#include "test_menu.moc"
