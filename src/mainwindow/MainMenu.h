#pragma once

#include <QMenuBar>

class FindField;
class Form1;
class QMenu;

// The menu bar over the main window's designed client area, for the commands the design
// does not have: File (Export…, Import…, Back Up…, Restore…, Open Shared Inventory…, Use Local
// Inventory, Copy Local Inventory to Server…, Quit), Edit (Find…), View (Due for maintenance,
// Refresh) and Help (Help, About Tarnwick), each with its usual shortcut, and
// the find field at the bar's right end. F10 and the mnemonics reach every menu from the keyboard.
class MainMenu : public QMenuBar
{
    Q_OBJECT

public:
    explicit MainMenu(Form1& form);

    QMenu* FileMenu = nullptr;
    FindField* Find = nullptr;
};
