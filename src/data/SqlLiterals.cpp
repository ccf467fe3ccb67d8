#include "data/SqlLiterals.h"

#include "platform/RuntimeError.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

QString TextLiteral(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString IdLiteral(const QString& id)
{
    // Keys come from the lists and the windows that opened this one; anything but a whole
    // number here would be pasted into the statement as SQL of its own.
    static const QRegularExpression key(QStringLiteral("^-?[0-9]{1,18}$"));
    if (!key.match(id).hasMatch())
        throw RuntimeError("Type mismatch: \"" + id.left(40) + "\" is no record key", 13);
    return id;
}

QString IdLiteral(long long id)
{
    return QString::number(id);
}

QString NumberLiteral(double value)
{
    // A number that SQL cannot write would turn the statement into nonsense.
    if (!std::isfinite(value))
        throw RuntimeError("Overflow: a number that is not finite cannot be written", 6);
    // QString::number ignores the locale: the decimal separator is always a point.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString NumberLiteral(Currency value)
{
    return value.DecimalText();
}

QString MoneyLiteral(const QString& text)
{
    return QLatin1String("CCur(") + TextLiteral(text) + QLatin1Char(')');
}

QString DateLiteralOrNull(const QString& text)
{
    // Blanks are no date either: an empty-looking field is stored as no date.
    if (text.trimmed().isEmpty())
        return QStringLiteral("null");
    return TextLiteral(text);
}
