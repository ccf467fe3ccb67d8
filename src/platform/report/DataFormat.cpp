#include "platform/report/DataFormat.h"

#include "platform/conv/Conv.h"

#include <cstdlib>

namespace {

// A money pattern taken apart: literal text before and after the digits, the character
// that separates groups of three digits (none when the pattern has no group) and the number
// of decimals behind the decimal comma.
struct MoneyPattern
{
    QString prefix;
    QString suffix;
    QChar group;
    int decimals = 0;
};

MoneyPattern ParseMoneyPattern(const QString& pattern)
{
    MoneyPattern parsed;
    bool quoted = false;
    bool digitsSeen = false;
    bool afterDecimal = false;
    for (const QChar c : pattern) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '#' || c == '0')) {
            digitsSeen = true;
            if (afterDecimal)
                ++parsed.decimals;
        } else if (!quoted && digitsSeen && !afterDecimal && c == ',') {
            afterDecimal = true;
        } else if (!quoted && digitsSeen && !afterDecimal) {
            parsed.group = c;
        } else {
            (digitsSeen ? parsed.suffix : parsed.prefix) += c;
        }
    }
    return parsed;
}

// The currency amount of a value a money form applies to.
std::optional<Currency> MoneyOf(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Currency:
        return value.currencyValue();
    case Variant::Type::Long:
        return Currency::FromTenThousandths(value.longValue() * Currency::Scale);
    case Variant::Type::Double:
        return Currency::FromDouble(value.doubleValue());
    case Variant::Type::String:
        if (IsNumeric(value.stringValue()))
            return CCur(value.stringValue());
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

QString FormatMoneyPattern(Currency amount, const MoneyPattern& pattern)
{
    // Ten-thousandths rounded to the pattern's decimals, halves away from zero.
    const int decimals = std::min(pattern.decimals, 4);
    std::int64_t divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const std::int64_t units = amount.TenThousandths();
    const bool negative = units < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    const auto udivisor = static_cast<std::uint64_t>(divisor);
    magnitude = (magnitude + udivisor / 2) / udivisor;

    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString whole = QString::number(magnitude / scale);
    if (!pattern.group.isNull()) {
        for (int at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, pattern.group);
    }
    QString text = whole;
    if (pattern.decimals > 0) {
        text += ',' + QString::number(magnitude % scale).rightJustified(decimals, '0') +
                QString(pattern.decimals - decimals, '0');
    }
    const bool zero = magnitude == 0;
    return (negative && !zero ? "-" : "") + pattern.prefix + text + pattern.suffix;
}

} // namespace

QString FormatValue(const Variant& value, const DataFormat& format)
{
    if (value.isNull() || value.isEmpty())
        return QString();
    switch (format.type) {
    case DataFormat::Type::General:
        break;
    case DataFormat::Type::Date:
        if (value.type() == Variant::Type::Date)
            return value.dateDay().toString(format.pattern);
        if (value.type() == Variant::Type::String) {
            if (const auto date = ParseDate(value.stringValue()))
                return date->value.date().toString(format.pattern);
        }
        break;
    case DataFormat::Type::Money:
        if (const auto amount = MoneyOf(value))
            return FormatMoneyPattern(*amount, ParseMoneyPattern(format.pattern));
        break;
    }
    return TextOf(value);
}
