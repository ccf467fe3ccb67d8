// Reading numbers from text: the locale's numeric test and currency conversion, and the
// locale-independent leading-number rule.

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QLocale>
#include <charconv>
#include <limits>

namespace {
constexpr long kTypeMismatch = 13;
constexpr long kOverflow = 6;
constexpr long kInvalidUseOfNull = 94;

// A number read from text as its decimal digits, so that currency conversion stays exact.
struct DecimalText
{
    bool negative = false;
    QString digits;        // integer and fraction digits, without separators
    qsizetype integer = 0; // how many of them stand before the decimal point
    long exponent = 0;
};

bool IsAsciiDigit(QChar c)
{
    return c >= '0' && c <= '9';
}

// Reads the locale's number forms: blanks, sign and currency sign ("$" or the locale's own)
// on either side or parentheses around it all, grouped whole digits, the decimal separator
// and an exponent.
class LocaleNumberReader
{
public:
    explicit LocaleNumberReader(const QString& text) : m_text(text.trimmed())
    {
        // The accounting form of a negative amount: "($5.00)".
        m_parenthesised = m_text.size() > 2 && m_text.startsWith('(') && m_text.endsWith(')');
        if (m_parenthesised)
            m_text = m_text.mid(1, m_text.size() - 2).trimmed();
    }

    std::optional<DecimalText> Read()
    {
        if (m_text.isEmpty())
            return std::nullopt;
        DecimalText number;
        bool hasSign = ReadSign(number);
        bool currency = ReadCurrency();
        if (currency && !hasSign)
            hasSign = ReadSign(number);
        if (!ReadBody(number))
            return std::nullopt;
        SkipBlanks();
        if (!currency)
            ReadCurrency();
        if (m_pos != m_text.size() || (m_parenthesised && hasSign))
            return std::nullopt;
        number.negative = number.negative || m_parenthesised;
        return number;
    }

private:
    void SkipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    bool Take(const QString& token)
    {
        if (token.isEmpty() || !QStringView(m_text).mid(m_pos).startsWith(token))
            return false;
        m_pos += token.size();
        return true;
    }

    bool ReadSign(DecimalText& number)
    {
        if (Take("-") || Take(m_locale.negativeSign()))
            number.negative = true;
        else if (!Take("+") && !Take(m_locale.positiveSign()))
            return false;
        SkipBlanks();
        return true;
    }

    bool ReadCurrency()
    {
        if (!Take("$") && !Take(m_locale.currencySymbol()))
            return false;
        SkipBlanks();
        return true;
    }

    bool TakeGroupSeparator()
    {
        const QString group = m_locale.groupSeparator();
        if (Take(group))
            return true;
        // Locales that group with a (narrow) no-break space accept a plain one as well.
        const bool spaceGroup = group == QChar(0x00A0) || group == QChar(0x202F);
        return spaceGroup &&
               (Take(" ") || Take(QString(QChar(0x00A0))) || Take(QString(QChar(0x202F))));
    }

    qsizetype TakeDigits(QString& into, qsizetype max = std::numeric_limits<qsizetype>::max())
    {
        qsizetype count = 0;
        while (count < max && m_pos < m_text.size() && IsAsciiDigit(m_text[m_pos])) {
            into += m_text[m_pos++];
            ++count;
        }
        return count;
    }

    // Whole digits, where groups are only accepted in threes ("1,234" but not "1,2", which
    // would silently read a mistyped decimal separator as a tenfold value).
    bool ReadBody(DecimalText& number)
    {
        const qsizetype first = TakeDigits(number.digits);
        while (first > 0 && first <= 3) {
            const qsizetype mark = m_pos;
            if (!TakeGroupSeparator())
                break;
            QString group;
            if (TakeDigits(group, 4) != 3) {
                m_pos = mark;
                return false;
            }
            number.digits += group;
        }
        number.integer = number.digits.size();
        if (Take(m_locale.decimalPoint()))
            TakeDigits(number.digits);
        if (number.digits.isEmpty())
            return false;
        return ReadExponent(number);
    }

    bool ReadExponent(DecimalText& number)
    {
        if (m_pos >= m_text.size() || m_text[m_pos].toLower() != 'e')
            return true;
        ++m_pos;
        bool negative = false;
        if (Take("-"))
            negative = true;
        else
            Take("+");
        QString digits;
        if (TakeDigits(digits) == 0)
            return false;
        // Far beyond any currency amount; the cap keeps the count itself from overflowing.
        constexpr long cap = 100000;
        long exponent = 0;
        for (QChar d : digits)
            exponent = std::min(cap, exponent * 10 + (d.unicode() - '0'));
        number.exponent = negative ? -exponent : exponent;
        return true;
    }

    const QLocale m_locale;
    QString m_text;
    bool m_parenthesised = false;
    qsizetype m_pos = 0;
};

[[noreturn]] void ThrowTypeMismatch(const QString& text)
{
    throw RuntimeError(QString("Type mismatch: \"%1\" is not a number").arg(text), kTypeMismatch);
}

[[noreturn]] void ThrowOverflow(const QString& what)
{
    throw RuntimeError(QString("Overflow: %1 is beyond the currency range").arg(what), kOverflow);
}

// The exact currency value of decimal digits, rounded half to even at the fourth decimal.
std::optional<Currency> ToCurrency(const DecimalText& number)
{
    const std::uint64_t limit = number.negative
                                    ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                    : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    // The digits that make whole ten-thousandths; the one after them rounds.
    const long wholeDigits = long(number.integer) + number.exponent + 4;
    const qsizetype size = number.digits.size();
    std::uint64_t units = 0;
    for (long i = 0; i < wholeDigits; ++i) {
        const unsigned digit = i < size ? number.digits[i].unicode() - '0' : 0;
        if (units > (limit - digit) / 10)
            return std::nullopt;
        units = units * 10 + digit;
        if (units == 0 && i >= size)
            break; // zeros shifted further stay zero
    }
    if (wholeDigits >= 0 && wholeDigits < size) {
        const unsigned next = number.digits[wholeDigits].unicode() - '0';
        bool rest = false;
        for (qsizetype i = wholeDigits + 1; i < size; ++i)
            rest = rest || number.digits[i] != '0';
        if (next > 5 || (next == 5 && (rest || units % 2 == 1))) {
            if (units == limit)
                return std::nullopt;
            ++units;
        }
    }
    const std::int64_t value = number.negative ? std::int64_t(0 - units) : std::int64_t(units);
    return Currency::FromTenThousandths(value);
}
} // namespace

bool IsNumeric(const QString& text)
{
    return LocaleNumberReader(text).Read().has_value();
}

Currency CCur(const QString& text)
{
    const std::optional<DecimalText> number = LocaleNumberReader(text).Read();
    if (!number)
        ThrowTypeMismatch(text);
    const std::optional<Currency> value = ToCurrency(*number);
    if (!value)
        ThrowOverflow(QString("\"%1\"").arg(text));
    return *value;
}

Currency CCur(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
        return Currency();
    case Variant::Type::Null:
        throw RuntimeError("Invalid use of Null", kInvalidUseOfNull);
    case Variant::Type::Long: {
        const std::int64_t limit = std::numeric_limits<std::int64_t>::max() / Currency::Scale;
        if (value.longValue() > limit || value.longValue() < -limit)
            ThrowOverflow(QString::number(value.longValue()));
        return Currency::FromTenThousandths(value.longValue() * Currency::Scale);
    }
    case Variant::Type::Double: {
        const std::optional<Currency> c = Currency::FromDouble(value.doubleValue());
        if (!c)
            ThrowOverflow(QString::number(value.doubleValue(), 'g', 17));
        return *c;
    }
    case Variant::Type::Currency:
        return value.currencyValue();
    case Variant::Type::String:
        return CCur(value.stringValue());
    case Variant::Type::Boolean:
        // True has always counted as -1.
        return Currency::FromTenThousandths(value.booleanValue() ? -Currency::Scale : 0);
    case Variant::Type::Date:
        break;
    }
    throw RuntimeError("Type mismatch: a date is not an amount", kTypeMismatch);
}

double Val(const QString& text)
{
    qsizetype pos = 0;
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r'))
        ++pos;
    // The longest leading part in the form [sign] digits [. digits] [e [sign] digits].
    std::string number;
    const auto takeDigits = [&] {
        qsizetype count = 0;
        for (; pos < text.size() && IsAsciiDigit(text[pos]); ++pos, ++count)
            number += char(text[pos].unicode());
        return count;
    };
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            number += '-';
        ++pos;
    }
    qsizetype digits = takeDigits();
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        number += '.';
        digits += takeDigits();
    }
    if (digits == 0)
        return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        const qsizetype mark = pos;
        const std::size_t kept = number.size();
        number += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            number += char(text[pos++].unicode());
        if (takeDigits() == 0) {
            pos = mark;
            number.resize(kept);
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // A value too small to hold is 0; one too large is no number at all.
        const std::size_t e = number.find('e');
        if (e != std::string::npos && number[e + 1] == '-')
            return 0;
        throw RuntimeError(QString("Overflow: \"%1\" is too large a number").arg(text), kOverflow);
    }
    return value;
}
