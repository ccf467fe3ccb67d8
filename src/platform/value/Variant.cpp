#include "platform/value/Variant.h"

Variant Variant::Whole(Type type, std::int64_t value)
{
    Variant v;
    v.m_type = type;
    v.m_int = value;
    return v;
}

Variant Variant::Null()
{
    return Whole(Type::Null, 0);
}

Variant Variant::FromLong(std::int64_t value)
{
    return Whole(Type::Long, value);
}

Variant Variant::FromDouble(double value)
{
    Variant v;
    v.m_type = Type::Double;
    v.m_double = value;
    return v;
}

Variant Variant::FromCurrency(Currency value)
{
    return Whole(Type::Currency, value.TenThousandths());
}

Variant Variant::FromDate(const QDateTime& value, bool hasTime)
{
    return FromDate(value.date(), value.time(), hasTime);
}

Variant Variant::FromDate(QDate day, QTime time, bool hasTime)
{
    Variant v;
    v.m_type = Type::Date;
    v.m_int = day.toJulianDay();
    v.m_ms = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    v.m_hasTime = hasTime;
    return v;
}

Variant Variant::FromString(const QString& value)
{
    Variant v;
    v.m_type = Type::String;
    v.m_string = value;
    return v;
}

Variant Variant::FromBoolean(bool value)
{
    return Whole(Type::Boolean, value ? 1 : 0);
}

bool Variant::operator==(const Variant& other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Empty:
    case Type::Null:
        return true;
    case Type::Long:
    case Type::Currency:
    case Type::Boolean:
        return m_int == other.m_int;
    case Type::Double:
        return m_double == other.m_double;
    case Type::Date:
        return m_int == other.m_int && m_ms == other.m_ms && m_hasTime == other.m_hasTime;
    case Type::String:
        return m_string == other.m_string;
    }
    return false;
}
