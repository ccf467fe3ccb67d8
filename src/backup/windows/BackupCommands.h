#pragma once

#include <functional>

class QWidget;

// The backup commands of the main window's File menu.

// Back Up…: writes a copy of the inventory to a file the user picks ("Tarnwick 2026-12-08.mdb"
// in the home folder is proposed).
void BackUpCommand(QWidget& owner);

// Restore…: the Restore window; the chosen backup replaces the inventory after a backup of
// the inventory as it is, then `rebuildList` shows it.
void RestoreCommand(QWidget& owner, const std::function<void()>& rebuildList);
