#pragma once

#include "platform/value/Currency.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

// A value as the data-access layer hands it out: typed by the declared type of the column it
// came from. Null is a database null; Empty is a value never set.
class Variant
{
public:
    enum class Type { Empty, Null, Long, Double, Currency, Date, String, Boolean };

    Variant() = default;
    static Variant Null();
    static Variant FromLong(std::int64_t value);
    static Variant FromDouble(double value);
    static Variant FromCurrency(Currency value);
    // hasTime tells whether a time of day was stored; without one the text form shows
    // the date alone.
    static Variant FromDate(const QDateTime& value, bool hasTime);
    static Variant FromDate(QDate day, QTime time, bool hasTime);
    static Variant FromString(const QString& value);
    static Variant FromBoolean(bool value);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    bool isEmpty() const { return m_type == Type::Empty; }

    // Raw access; each is valid only for its own type.
    std::int64_t longValue() const { return m_int; }
    double doubleValue() const { return m_double; }
    Currency currencyValue() const { return Currency::FromTenThousandths(m_int); }
    QDateTime dateValue() const { return QDateTime(dateDay(), dateTime()); }
    // The day and the time of day of a date, without the costly local time of a QDateTime.
    QDate dateDay() const { return QDate::fromJulianDay(m_int); }
    QTime dateTime() const { return QTime::fromMSecsSinceStartOfDay(m_ms); }
    bool dateHasTime() const { return m_hasTime; }
    const QString& stringValue() const { return m_string; }
    bool booleanValue() const { return m_int != 0; }

    bool operator==(const Variant& other) const;

private:
    // A value of `type` kept in m_int.
    static Variant Whole(Type type, std::int64_t value);

    Type m_type = Type::Empty;
    bool m_hasTime = false;
    // A date's milliseconds into its day; its day is the Julian day in m_int.
    int m_ms = 0;
    union {
        std::int64_t m_int = 0;
        double m_double;
    };
    QString m_string;
};
