#include "platform/adodb/PgRows.h"

#include "platform/adodb/RowStore.h"
#include "platform/conv/Conv.h"
#include "platform/value/Currency.h"

#include <QLocale>

#include <cstdlib>
#include <vector>

namespace {

// The server's type numbers (pg_type.oid) that the program's columns and expressions give.
enum TypeOid : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kNumeric = 1700,
};

using Kind = PgCursor::Kind;

Kind KindOf(const PGresult* result, int column)
{
    switch (PQftype(result, column)) {
    case kInt8:
    case kInt2:
    case kInt4:
    case kOid:
        return Kind::Long;
    case kFloat4:
    case kFloat8:
        return Kind::Double;
    case kNumeric: {
        // numeric(precision, scale) has the type modifier ((precision << 16) | scale) + 4.
        const int modifier = PQfmod(result, column);
        return modifier >= 4 && ((modifier - 4) & 0xffff) == 4 ? Kind::Currency : Kind::Double;
    }
    case kDate:
    case kTimestamp:
        return Kind::Date;
    case kBool:
        return Kind::Boolean;
    default:
        return Kind::Text;
    }
}

// "-1234.5000" as ten-thousandths; false for what does not fit (NaN).
bool ParseAmount(const char* text, std::int64_t& units)
{
    const bool negative = *text == '-';
    text += negative ? 1 : 0;
    std::int64_t value = 0;
    int fractionDigits = -1;
    for (; *text; ++text) {
        if (*text == '.' && fractionDigits < 0) {
            fractionDigits = 0;
            continue;
        }
        if (*text < '0' || *text > '9' || fractionDigits == 4 || value > (INT64_MAX - 9) / 10)
            return false;
        value = value * 10 + (*text - '0');
        fractionDigits += fractionDigits >= 0 ? 1 : 0;
    }
    for (int i = std::max(fractionDigits, 0); i < 4; ++i) {
        if (value > INT64_MAX / 10)
            return false;
        value *= 10;
    }
    units = negative ? -value : value;
    return true;
}

void AddCell(const PGresult* result, int row, int column, Kind kind, RowStore& rows)
{
    if (PQgetisnull(result, row, column))
        return rows.AddNull();
    const char* text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (kind) {
    case Kind::Long:
        return rows.AddLong(std::strtoll(text, nullptr, 10));
    case Kind::Currency: {
        std::int64_t units = 0;
        if (ParseAmount(text, units))
            return rows.AddCurrency(units);
        return rows.AddDouble(std::strtod(text, nullptr));
    }
    case Kind::Double:
        return rows.AddDouble(std::strtod(text, nullptr));
    case Kind::Date: {
        std::int64_t dayAndTime = 0;
        bool hasTime = false;
        if (ParseStoredDate(text, length, dayAndTime, hasTime))
            return rows.AddDate(dayAndTime, dayAndTime % kMsPerDay != 0);
        break;
    }
    case Kind::Boolean:
        return rows.AddBoolean(*text == 't');
    case Kind::Text:
        break;
    }
    rows.AddText(QUtf8StringView(text, length));
}

void AppendEscaped(QByteArray& out, const QString& text)
{
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

void AppendValue(QByteArray& out, const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        out += "\\N";
        return;
    case Variant::Type::Long:
        out += QByteArray::number(qlonglong(value.longValue()));
        return;
    case Variant::Type::Double:
        out += QString::number(value.doubleValue(), 'g', QLocale::FloatingPointShortest).toLatin1();
        return;
    case Variant::Type::Currency:
        out += value.currencyValue().DecimalText().toLatin1();
        return;
    case Variant::Type::Date:
        out += IsoDateText(value.dateDay(), value.dateTime(), value.dateHasTime()).toLatin1();
        return;
    case Variant::Type::String:
        AppendEscaped(out, value.stringValue());
        return;
    case Variant::Type::Boolean:
        out += value.booleanValue() ? "t" : "f";
        return;
    }
}

} // namespace

PgCursor::PgCursor(std::shared_ptr<const PGresult> result) : m_result(std::move(result))
{
    for (int column = 0; column < PQnfields(m_result.get()); ++column)
        m_kinds.push_back(KindOf(m_result.get(), column));
}

void PgCursor::AddColumns(RowStore& rows)
{
    for (int column = 0; column < int(m_kinds.size()); ++column)
        rows.AddColumn(QString::fromUtf8(PQfname(m_result.get(), column)));
}

bool PgCursor::Read(RowStore& rows, int count)
{
    const int end = std::min(PQntuples(m_result.get()), m_row + count);
    for (; m_row < end; ++m_row)
        for (int column = 0; column < int(m_kinds.size()); ++column)
            AddCell(m_result.get(), m_row, column, m_kinds[std::size_t(column)], rows);
    return m_row < PQntuples(m_result.get());
}

std::unique_ptr<RowCursor> PgCursor::Again()
{
    return std::make_unique<PgCursor>(m_result);
}

void WriteCopyText(const RowStore& rows, const std::function<void(const QByteArray&)>& write)
{
    constexpr qsizetype kPiece = 1 << 20;
    QByteArray out;
    out.reserve(kPiece + 4096);
    for (int row = 0; row < rows.RowCount(); ++row) {
        for (int column = 0; column < rows.ColumnCount(); ++column) {
            if (column > 0)
                out += '\t';
            AppendValue(out, rows.Value(row, column));
        }
        out += '\n';
        if (out.size() >= kPiece) {
            write(out);
            out.truncate(0);
        }
    }
    if (!out.isEmpty())
        write(out);
}
