#include "platform/value/Currency.h"

#include <cmath>

std::optional<Currency> Currency::FromDouble(double value)
{
    const double scaled = value * Scale;
    if (!std::isfinite(scaled))
        return std::nullopt;
    // Ties go to the even neighbour, so that sums of many halves do not drift upwards.
    double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    // 2^63 is the first value beyond the 64-bit range; -2^63 itself still fits.
    constexpr double limit = 9223372036854775808.0;
    if (whole >= limit || whole < -limit)
        return std::nullopt;
    return FromTenThousandths(static_cast<std::int64_t>(whole));
}

QString Currency::DecimalText() const
{
    const std::uint64_t magnitude =
        m_units < 0 ? 0 - static_cast<std::uint64_t>(m_units) : static_cast<std::uint64_t>(m_units);
    QString text = QString::number(magnitude / Scale);
    if (const std::uint64_t fraction = magnitude % Scale; fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return m_units < 0 ? QLatin1Char('-') + text : text;
}
