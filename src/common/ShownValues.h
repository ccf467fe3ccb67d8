#pragma once

#include <QHash>
#include <QString>
#include <functional>

class QDate;
class QDateEdit;
class QWidget;

// What a window showed of a stored row, box by box, so that Save can tell the boxes the
// user changed from those left as shown. A box shows a stored value the way the design
// asks (money with two decimals, a date without its time, a text area's line ends, no more
// text than the box holds); left as shown, it must save the stored value, not what it shows.
class ShownValues
{
public:
    void Clear();

    // Shows a stored value in a text box, a text area or a date picker and remembers what
    // the control shows. A value that cannot be shown throws on: a text box is left empty
    // and a date picker as it was, and stands for the stored value all the same.
    void Show(QWidget& box, const std::function<QString()>& text);
    void Show(QDateEdit& picker, const std::function<QDate()>& date);

    // True while the control shows what was remembered of it.
    bool Unchanged(const QWidget& control) const;
    // What Save writes into the control's column: the column itself while the control is
    // unchanged, so that the stored value stays exactly as it is; otherwise `literal()`.
    QString ColumnOrLiteral(const QWidget& control, const QString& column,
                            const std::function<QString()>& literal) const;

private:
    void Remember(const QWidget& control);
    QHash<const QWidget*, QString> m_shown;
};
