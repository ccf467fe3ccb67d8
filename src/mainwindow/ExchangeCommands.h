#pragma once

#include <functional>

class ListView;
class QWidget;

// The commands of the main window's File menu; their dialogs are modal over `owner`.

// File > Export…: asks for a file name ("Assets 2026-12-08.xlsx" in the home folder) and
// writes the assets the list shows, in the order it shows them, as a workbook or a CSV file.
// Exports that take longer than half a second show their progress and can be cancelled; a
// cancelled or failed export leaves no file.
void ExportAssetsCommand(QWidget& owner, ListView& list);

// File > Import…: asks for a CSV file, shows what importing it would do and, on Import, writes
// all of it in one transaction; `rebuild` then rebuilds the list.
void ImportAssetsCommand(QWidget& owner, const std::function<void()>& rebuild);
