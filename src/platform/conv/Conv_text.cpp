// The text forms of values: the plain form joined to text, and the money format.

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "platform/conv/LocaleTexts.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// The magnitude of a currency amount split into its whole part and its four decimals; the
// unsigned magnitude keeps the most negative amount whole.
struct Magnitude
{
    bool negative;
    std::uint64_t whole;
    std::uint64_t fraction; // ten-thousandths, 0-9999
};

Magnitude Split(Currency value)
{
    const std::int64_t units = value.TenThousandths();
    const bool negative = units < 0;
    const std::uint64_t abs = negative ? std::uint64_t(0) - static_cast<std::uint64_t>(units)
                                       : static_cast<std::uint64_t>(units);
    return {negative, abs / Currency::Scale, abs % Currency::Scale};
}

const QString& DecimalPoint()
{
    LocaleTexts& texts = CurrentLocaleTexts();
    if (texts.decimalPoint.isEmpty())
        texts.decimalPoint = texts.locale.decimalPoint();
    return texts.decimalPoint;
}

// Digits with the locale's group separator between each three, counted from the right.
QString Grouped(const QString& digits)
{
    const QString separator = QLocale().groupSeparator();
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += digits[i];
    }
    return result;
}
} // namespace

QString NumberText(double value)
{
    if (value == 0)
        return "0"; // also for a negative zero
    // A whole number below 10^15 has no more than the fifteen digits below, and no exponent.
    if (std::abs(value) < 1e15 && value == std::trunc(value))
        return QString::number(static_cast<std::int64_t>(value));
    // Fifteen significant digits, as the double's text form has always had: 0.1 + 0.2 shows 0.3.
    QString text = QString::number(value, 'g', 15).toUpper();
    text.replace('.', DecimalPoint());
    return text;
}

QString CurrencyText(Currency value)
{
    return value.DecimalText(DecimalPoint());
}

QString TextOf(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return QString();
    case Variant::Type::Long:
        return QString::number(value.longValue());
    case Variant::Type::Double:
        return NumberText(value.doubleValue());
    case Variant::Type::Currency:
        return CurrencyText(value.currencyValue());
    case Variant::Type::Date:
        return DateTimeText(value.dateDay(), value.dateTime(), value.dateHasTime());
    case Variant::Type::String:
        return value.stringValue();
    case Variant::Type::Boolean:
        return value.booleanValue() ? "True" : "False";
    }
    return QString();
}

QString CStr(const Variant& value)
{
    if (value.isNull())
        throw RuntimeError("Invalid use of Null", 94);
    return TextOf(value);
}

QString FormatMoney(Currency amount)
{
    // Cents are rounded half away from zero, as the display format has always done.
    Magnitude m = Split(amount);
    std::uint64_t cents = (m.fraction + 50) / 100;
    if (cents == 100) {
        cents = 0;
        ++m.whole;
    }
    if (m.whole == 0 && cents == 0)
        m.negative = false; // an amount that rounds to nothing shows no sign
    return QString(m.negative ? "-$" : "$") + Grouped(QString::number(m.whole)) +
           QLocale().decimalPoint() + QString::number(cents).rightJustified(2, '0');
}

QString FormatMoney(double amount)
{
    if (const std::optional<Currency> exact = Currency::FromDouble(amount))
        return FormatMoney(*exact);
    if (!std::isfinite(amount))
        return NumberText(amount);
    // Beyond the currency range the double's own cents are shown.
    const QString digits = QString::number(std::abs(amount), 'f', 2);
    return QString(amount < 0 ? "-$" : "$") + Grouped(digits.left(digits.size() - 3)) +
           QLocale().decimalPoint() + digits.right(2);
}
