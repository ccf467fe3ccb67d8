#pragma once

#include <QString>
#include <functional>

class PointerRule;
class QDate;
class QDateEdit;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;
class Variant;

// What the maintenance and the depreciation record dialogs have in common: how their
// controls look, how they load, check their boxes and write their one row.

// The location text the error report names for a procedure of a record dialog.
QString RecordLocation(const char* form, const char* procedure);

// A control's place in its dialog, in twips.
struct TwipsRect
{
    double left, top, width, height;
};

// Arial bold 9 pt and the client area in twips.
void SetUpRecordWindow(QDialog& dialog, double widthTwips, double heightTwips);
// A caption at the dialog's left edge, level with the control it names; the control takes
// the caption as its accessible name.
void AddCaption(QDialog& dialog, const QString& caption, QWidget& control, double widthTwips);
// Takes the dates the program stores, from the year 100 on.
QDateEdit* AddDatePicker(QDialog& dialog, const TwipsRect& r);
QLineEdit* AddTextBox(QDialog& dialog, const char* name, const TwipsRect& r);
// Arial bold 11.25 pt; Enter in a box never presses it by itself.
QPushButton* AddRecordButton(QDialog& dialog, const char* name, const QString& caption,
                             const TwipsRect& r);

// Window load: colour, icon, hand pointer, today's date, then loadData for an edit.
void LoadRecordWindow(const QString& location, QDialog& dialog, PointerRule& pointer,
                      QDateEdit& date, bool edit, const std::function<void()>& loadData);

// A stored date as the picker takes it; null is "Invalid use of Null".
QDate StoredDate(const Variant& value);

// Save's checks: true when the box passes; otherwise the message is shown in a plain box
// and the focus goes into the box.
bool RequireText(QLineEdit& box, const QString& message);
bool RequireNumber(QLineEdit& box, const QString& message);
// The typed amount as a number literal: converted to currency first, so "10,5" under a
// decimal-comma locale is written 10.5 and never splits into two values.
QString AmountLiteral(const QLineEdit& box);

// Runs the statement that statementText builds and closes the dialog. When building or
// running it fails, the error is reported and the dialog stays open with what was typed, so
// nothing is lost and the user can correct it or cancel. When asset `assetId` no longer
// exists, nothing is stored and the user is told so; the dialog stays open as well.
void SaveRecord(const QString& location, QDialog& dialog, const QString& assetId,
                const std::function<QString()>& statementText);
// Cancel and the close box: closes the dialog without writing.
void CancelRecord(const QString& location, QDialog& dialog);
