#include "platform/conv/Currency.h"

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
