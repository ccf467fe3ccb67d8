#pragma once

#include <QString>
#include <functional>

class QWidget;

// Which inventory the program works on: the local file, or a shared one on a PostgreSQL
// server, kept in the settings store (without a password) for the next start.

// The main window's title for an inventory: "Tarnwick" for the local file, "Tarnwick —
// shared: inventory@db.example" for a shared one.
QString InventoryTitle(const QString& connectionString);

// At start-up: creates g_Conn and opens the kept inventory on it (the local file when none
// is kept). When the server wants a password that libpq did not find, or refuses the one
// given, the password is asked for over `owner` until it is taken or the user cancels; a
// failure is thrown, with g_Conn left closed, as a missing file leaves it.
void OpenKeptInventory(QWidget* owner);

// Opens g_Conn again on the inventory it was last opened on, when it is closed (a server
// that did not answer at start-up); reports a failure. Does nothing while it is open.
void ReopenInventory(QWidget& owner);

// File → Open Shared Inventory…, Use Local Inventory and Copy Local Inventory to Server….
// Each opens the inventory it names on g_Conn in place of the one open, keeps the choice,
// calls `opened`, which shows it, and makes the day's backup of the local file when there is
// none yet (see DailyBackup).
void OpenSharedInventoryCommand(QWidget& owner, const std::function<void()>& opened);
void UseLocalInventoryCommand(const std::function<void()>& opened);
// Copies the local inventory into an empty database on a server, then opens it there.
void CopyLocalInventoryCommand(QWidget& owner, const std::function<void()>& opened);
