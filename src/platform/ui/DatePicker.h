#pragma once

#include <QDateEdit>

// The toolkit's date picker: a date box with a calendar to drop down. Tab leaves it as it
// leaves every other control, in the window's tab order; the parts of the date are reached
// with the arrow keys.
class DatePicker : public QDateEdit
{
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};
