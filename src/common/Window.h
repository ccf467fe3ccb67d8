#pragma once

#include <QCursor>
#include <QFont>
#include <QString>
#include <optional>

class QBoxLayout;
class QPushButton;
class QWidget;

// The shared window services.

// The windows' typeface, Arial, at a size in points.
QFont ArialFont(double points, bool bold);

// A push button at the end of `row` in a window of the program's own (beyond the designed
// ones), in the designed buttons' typeface; its caption without the mnemonic's "&" is its
// accessible name.
QPushButton* AddDialogButton(QWidget& dialog, QBoxLayout& row, const char* name,
                             const QString& caption);

// The application title from the product name: the text before its last blank, cut again
// while longer than 40 characters; a name without a blank is kept whole.
QString AppTitleFromProductName(const QString& productName);
void SetAppTitle();

// The window's background and that of its labels, option buttons, check boxes and frames
// become the system's button-face colour.
void ColorForm(QWidget& window);

// With the skin file x/o.cjs beside the program: colours the main window and applies the
// skin; without it does nothing at all.
void SkinMainWindow(QWidget& mainWindow);

// The hand pointer HAND-M.CUR beside the program; empty when the file is missing.
std::optional<QCursor> LoadHandPointer();
