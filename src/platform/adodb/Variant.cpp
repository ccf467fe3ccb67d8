#include "platform/adodb/Variant.h"

#include <utility>

namespace {

// Every factory makes the same value: an empty one given its type and the one member that
// holds its content. The factories name the members, which only they may reach.
template <typename Member, typename Content>
Variant Holding(Variant::Type Variant::*typeMember, Variant::Type type, Member Variant::*member,
                Content&& content)
{
    Variant v;
    v.*typeMember = type;
    v.*member = std::forward<Content>(content);
    return v;
}

} // namespace

Variant Variant::Null()
{
    Variant v;
    v.m_type = Type::Null;
    return v;
}

Variant Variant::FromLong(std::int64_t value)
{
    return Holding(&Variant::m_type, Type::Long, &Variant::m_int, value);
}

Variant Variant::FromDouble(double value)
{
    return Holding(&Variant::m_type, Type::Double, &Variant::m_double, value);
}

Variant Variant::FromCurrency(Currency value)
{
    return Holding(&Variant::m_type, Type::Currency, &Variant::m_int, value.TenThousandths());
}

Variant Variant::FromDate(const QDateTime& value, bool hasTime)
{
    Variant v = Holding(&Variant::m_type, Type::Date, &Variant::m_date, value);
    v.m_hasTime = hasTime;
    return v;
}

Variant Variant::FromString(const QString& value)
{
    return Holding(&Variant::m_type, Type::String, &Variant::m_string, value);
}

Variant Variant::FromBoolean(bool value)
{
    return Holding(&Variant::m_type, Type::Boolean, &Variant::m_int, std::int64_t(value ? 1 : 0));
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
        return m_date == other.m_date && m_hasTime == other.m_hasTime;
    case Type::String:
        return m_string == other.m_string;
    }
    return false;
}
