#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

// An exact money amount: a 64-bit count of ten-thousandths, as the currency type of the
// original data engine. Arithmetic stays exact; conversion from a double rounds half to even.
class Currency
{
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromTenThousandths(std::int64_t units)
    {
        Currency c;
        c.m_units = units;
        return c;
    }
    // Rounds to the nearest ten-thousandth, half to even; empty when out of range or not finite.
    static std::optional<Currency> FromDouble(double value);

    constexpr std::int64_t TenThousandths() const { return m_units; }
    double ToDouble() const { return static_cast<double>(m_units) / Scale; }
    // The exact amount with `point` as decimal separator (a point unless told) and no
    // trailing zeros: 1234.5, -0.1255, 7.
    QString DecimalText(QStringView point = u".") const;

    constexpr Currency operator+(Currency o) const
    {
        return FromTenThousandths(m_units + o.m_units);
    }
    constexpr Currency operator-(Currency o) const
    {
        return FromTenThousandths(m_units - o.m_units);
    }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    std::int64_t m_units = 0;
};
