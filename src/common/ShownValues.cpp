#include "common/ShownValues.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// What a control shows, as text that tells every change apart.
QString ShownText(const QWidget& control)
{
    if (const auto* picker = qobject_cast<const QDateEdit*>(&control))
        return picker->date().toString(Qt::ISODate);
    if (const auto* area = qobject_cast<const QPlainTextEdit*>(&control))
        return area->toPlainText();
    if (const auto* box = qobject_cast<const QLineEdit*>(&control))
        return box->text();
    return QString();
}

void SetText(QWidget& box, const QString& text)
{
    if (auto* area = qobject_cast<QPlainTextEdit*>(&box))
        area->setPlainText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(&box))
        line->setText(text);
}

} // namespace

void ShownValues::Clear()
{
    m_shown.clear();
}

void ShownValues::Show(QWidget& box, const std::function<QString()>& text)
{
    SetText(box, QString());
    Remember(box);
    SetText(box, text());
    Remember(box);
}

void ShownValues::Show(QDateEdit& picker, const std::function<QDate()>& date)
{
    Remember(picker);
    picker.setDate(date());
    Remember(picker);
}

bool ShownValues::Unchanged(const QWidget& control) const
{
    const auto shown = m_shown.constFind(&control);
    return shown != m_shown.constEnd() && *shown == ShownText(control);
}

QString ShownValues::ColumnOrLiteral(const QWidget& control, const QString& column,
                                     const std::function<QString()>& literal) const
{
    return Unchanged(control) ? column : literal();
}

void ShownValues::Remember(const QWidget& control)
{
    m_shown.insert(&control, ShownText(control));
}
