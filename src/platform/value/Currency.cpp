#include "platform/value/Currency.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

QString Currency::DecimalText(QStringView point) const
{
    const std::uint64_t magnitude =
        m_units < 0 ? 0 - static_cast<std::uint64_t>(m_units) : static_cast<std::uint64_t>(m_units);
    // Written from the right into one buffer: the decimals without their trailing zeros, the
    // decimal point, the whole part and the sign.
    char16_t buffer[48];
    char16_t* const end = std::end(buffer);
    char16_t* at = end;
    std::uint64_t fraction = magnitude % Scale;
    int decimals = 4;
    for (; decimals > 0 && fraction % 10 == 0; --decimals)
        fraction /= 10;
    for (int i = 0; i < decimals; ++i, fraction /= 10)
        *--at = char16_t(u'0' + fraction % 10);
    if (decimals > 0) {
        const qsizetype pointSize = std::min<qsizetype>(point.size(), 8);
        at -= pointSize;
        std::copy_n(point.utf16(), pointSize, at);
    }
    std::uint64_t whole = magnitude / Scale;
    do {
        *--at = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (m_units < 0)
        *--at = u'-';
    return QString(reinterpret_cast<const QChar*>(at), end - at);
}
