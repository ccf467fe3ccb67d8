#include "mainwindow/MainMenu.h"

#include "backup/windows/BackupCommands.h"
#include "data/Globals.h"
#include "mainwindow/DueMaintenance.h"
#include "mainwindow/ExchangeCommands.h"
#include "mainwindow/FindField.h"
#include "mainwindow/Form1.h"
#include "platform/adodb/PgConnect.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/ListView.h"
#include "shared/InventoryCommands.h"

#include <QApplication>
#include <QMenu>
#include <QShortcut>

namespace {

// An entry of a menu: its name for tests, its text with mnemonic, its shortcut.
QAction* AddEntry(QMenu& menu, const char* name, const QString& text, const QKeySequence& keys)
{
    QAction* action = menu.addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    return action;
}

QMenu* AddMenu(QMenuBar& bar, const char* name, const QString& title)
{
    QMenu* menu = bar.addMenu(title);
    menu->setObjectName(name);
    menu->setAccessibleName(QString(title).remove('&'));
    return menu;
}

} // namespace

MainMenu::MainMenu(Form1& form) : QMenuBar(&form)
{
    setObjectName("MenuBar");
    setAccessibleName("Menu bar");
    // The bar belongs to this window on every desktop, never to a global menu.
    setNativeMenuBar(false);
    ListView& list = *form.ListView1;

    FileMenu = AddMenu(*this, "FileMenu", "&File");
    connect(AddEntry(*FileMenu, "actionExport", "&Export…", QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, &form, [&form, &list] { ExportAssetsCommand(form, list); });
    connect(AddEntry(*FileMenu, "actionImport", "&Import…", QKeySequence(Qt::CTRL | Qt::Key_I)),
            &QAction::triggered, &form,
            [&form] { ImportAssetsCommand(form, [&form] { form.ListData(); }); });
    FileMenu->addSeparator();
    connect(AddEntry(*FileMenu, "actionBackUp", "&Back Up…", QKeySequence(Qt::CTRL | Qt::Key_B)),
            &QAction::triggered, &form, [&form] { BackUpCommand(form); });
    connect(AddEntry(*FileMenu, "actionRestore", "&Restore…", QKeySequence()), &QAction::triggered,
            &form, [&form] { RestoreCommand(form, [&form] { form.ListData(); }); });
    FileMenu->addSeparator();
    // After another inventory was opened: its name in the title, its assets in the list.
    const auto opened = [&form] {
        form.setWindowTitle(InventoryTitle(SharedConnection().Source()));
        form.ListData();
    };
    connect(AddEntry(*FileMenu, "actionOpenShared", "Open &Shared Inventory…", QKeySequence()),
            &QAction::triggered, &form,
            [&form, opened] { OpenSharedInventoryCommand(form, opened); });
    QAction* useLocal =
        AddEntry(*FileMenu, "actionUseLocal", "Use &Local Inventory", QKeySequence());
    connect(useLocal, &QAction::triggered, &form, [opened] { UseLocalInventoryCommand(opened); });
    connect(AddEntry(*FileMenu, "actionCopyToServer", "&Copy Local Inventory to Server…",
                     QKeySequence()),
            &QAction::triggered, &form,
            [&form, opened] { CopyLocalInventoryCommand(form, opened); });
    // The local inventory is offered while a shared one is chosen.
    connect(FileMenu, &QMenu::aboutToShow, useLocal, [useLocal] {
        useLocal->setEnabled(g_Conn && IsServerConnectionString(g_Conn->Source()));
    });
    FileMenu->addSeparator();
    connect(AddEntry(*FileMenu, "actionQuit", "&Quit", QKeySequence::Quit), &QAction::triggered,
            &form, &QWidget::close);

    QMenu* edit = AddMenu(*this, "EditMenu", "&Edit");
    // Beside the bar rather than inside it, so that a screen reader finds it among the
    // window's parts; the window places it at the bar's right end.
    Find = new FindField(list, &form);
    Find->setFont(QApplication::font("QMenuBar"));
    connect(AddEntry(*edit, "actionFind", "&Find…", QKeySequence::Find), &QAction::triggered, Find,
            &FindField::Activate);

    QMenu* view = AddMenu(*this, "ViewMenu", "&View");
    ConnectDueView(
        *AddEntry(*view, "actionDue", "&Due for maintenance", QKeySequence(Qt::CTRL | Qt::Key_D)),
        list, [&form] { form.ListData(); });
    // Also opens again an inventory that could not be opened before (a server that was down).
    connect(AddEntry(*view, "actionRefresh", "&Refresh", QKeySequence::Refresh),
            &QAction::triggered, &form, [&form] {
                ReopenInventory(form);
                form.ListData();
            });

    QMenu* help = AddMenu(*this, "HelpMenu", "&Help");
    connect(AddEntry(*help, "actionHelp", "&Help", QKeySequence::HelpContents), &QAction::triggered,
            &form, &Form1::PushButton6_Click);
    connect(AddEntry(*help, "actionAbout", "&About Tarnwick", QKeySequence()), &QAction::triggered,
            &form, [] {
                MsgBox("Tarnwick " TARNWICK_VERSION "\n\nKeeps a small business's inventory of "
                       "assets, their maintenance and their depreciation.\n\nVelquor",
                       BoxButtons::OK, BoxIcon::Information, "About Tarnwick");
            });

    // F10 opens the first menu, from where the arrow keys reach the others.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &form);
    connect(f10, &QShortcut::activated, this, [this] { setActiveAction(FileMenu->menuAction()); });
}
