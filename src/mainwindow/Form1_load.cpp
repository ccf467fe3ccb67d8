// Start-up and shutdown of the main window.
#include "mainwindow/Form1.h"

#include "backup/Backups.h"
#include "common/ErrorTrap.h"
#include "common/ProgramIcon.h"
#include "common/Settings.h"
#include "common/Window.h"
#include "data/AssetColumns.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "data/SharedInventory.h"
#include "mainwindow/DueMaintenance.h"
#include "platform/conv/Conv.h"
#include "platform/ui/ListView.h"
#include "shared/InventoryCommands.h"

#include <QApplication>

#include <algorithm>

namespace {

const QString kApp = "Velquor";
const QString kSection = "Tarnwick";

QString WidthKey(int position)
{
    return "ColumnHeaders" + QString::number(position);
}

// A stored setting as a number: a text that is no number is a type mismatch, as the
// original conversion made it.
double SettingNumber(const QString& key, const QString& defaultValue)
{
    return CCur(GetSetting(kApp, kSection, key, defaultValue)).ToDouble();
}

} // namespace

// Prepares everything the program needs, each step reported and skipped when it fails.
void Form1::Form_Load()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.Form_Load ");
    trap(100, [] { ProvisionDatabase(); });
    trap(102, [&] { SkinMainWindow(*this); });
    trap(104, [&] { Pointer->SetMouseIcon(LoadHandPointer()); });
    trap(106, [&] { IsADOInstalled(); });
    if (m_endRequested)
        return;
    trap(108, [&] { setWindowTitle(InventoryTitle(KeptInventory())); });
    trap(110, [&] { setWindowIcon(ProgramIcon()); });
    trap(112, [] { SetAppTitle(); });
    trap(114, [] { OpenKeptInventory(nullptr); });
    trap(116, [&] { AddColumns(); });
    // Each column on its own: a width that is no number leaves that column as it was.
    for (int column = 0; column < ListView1->ColumnCount(); ++column)
        trap(118, [&] {
            const double width = SettingNumber(WidthKey(column + 1), column == 0 ? "1200" : "1500");
            ListView1->SetColumnWidth(column, float(width));
        });
    trap(120, [&] { ListData(); });
    trap(122, [&] {
        // Held to just outside the three states, so that any other number, however large,
        // is refused as an invalid state rather than overflowing on the way.
        SetWindowStateNumber(int(std::clamp(SettingNumber("WindowState", "0"), -1.0, 3.0)));
    });
    trap(122, [&] { m_WasMaximized = WindowStateNumber() != 0; });
    trap(124, [] { DailyBackup(); });
}

void Form1::AddColumns()
{
    for (int column = 0; column < int(kAssetColumns.size()); ++column) {
        ListView1->AddColumn(kAssetColumns[column].caption);
        ListView1->SetColumnSortKind(column, SortsByValue(kAssetColumns[column].value)
                                                 ? ListView::SortKind::Value
                                                 : ListView::SortKind::Text);
    }
    MarkDueMaintenance(*ListView1);
}

// Saves the column widths and the window state, makes the day's backup of a shared
// inventory, then closes and releases the connection.
void Form1::Form_QueryUnload()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.Form_QueryUnload ");
    QList<std::pair<QString, QString>> settings;
    for (int column = 0; column < ListView1->ColumnCount(); ++column)
        trap(100, [&] {
            settings.append(
                {WidthKey(column + 1), NumberText(float(ListView1->ColumnWidth(column)))});
        });
    // All in one write, which the store checks: a failure is reported once.
    trap(102, [&] {
        settings.append({"WindowState", QString::number(WindowStateNumber())});
        SaveSettings(kApp, kSection, settings);
    });
    trap(110, [] { DailyBackup(DailyMoment::Closing); });
    trap(104, [] {
        if (SharedConnection().State() != Connection::adStateClosed)
            g_Conn->Close();
    });
    trap(106, [] { g_Conn.reset(); });
    trap(108, [] {
        QApplication::processEvents();
        QApplication::processEvents();
    });
}

// Ends the program, whatever other windows are open.
void Form1::Form_Unload()
{
    QApplication::quit();
}
