#include "platform/adodb/RowStore.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Statement.h"

#include <QDateTime>
#include <QTimeZone>

#include <sqlite3.h>

#include <cmath>

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

int Digits(const char* text, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The stored form of a date, "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" (a "T" also accepted), as
// a day number and the milliseconds into that day; false for any other text.
bool ParseStoredDate(const char* text, int length, std::int64_t& dayAndTime, bool& hasTime)
{
    if (length != 10 && length != 16 && length != 19)
        return false;
    if (text[4] != '-' || text[7] != '-')
        return false;
    const QDate date(Digits(text, 4), Digits(text + 5, 2), Digits(text + 8, 2));
    if (!date.isValid())
        return false;
    int ms = 0;
    hasTime = length > 10;
    if (hasTime) {
        if ((text[10] != ' ' && text[10] != 'T') || text[13] != ':' ||
            (length == 19 && text[16] != ':'))
            return false;
        const QTime time(Digits(text + 11, 2), Digits(text + 14, 2),
                         length == 19 ? Digits(text + 17, 2) : 0);
        if (!time.isValid())
            return false;
        ms = time.msecsSinceStartOfDay();
    }
    dayAndTime = date.toJulianDay() * kMsPerDay + ms;
    return true;
}

} // namespace

int RowStore::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void RowStore::Load(Statement& statement)
{
    sqlite3_stmt* stmt = statement.Handle();
    const int columns = sqlite3_column_count(stmt);
    for (int i = 0; i < columns; ++i) {
        m_names.append(QString::fromUtf8(sqlite3_column_name(stmt, i)));
        // Through a view, the declared type is that of the column the view reads.
        m_types.push_back(ColumnTypeFromDeclaration(sqlite3_column_decltype(stmt, i)));
    }
    while (statement.Step()) {
        for (int i = 0; i < columns; ++i)
            m_cells.push_back(MakeCell(statement, i));
        ++m_rowCount;
        if (m_rowCount == 1024)
            m_cells.reserve(std::size_t(columns) * 16384);
    }
    m_cells.shrink_to_fit();
}

RowStore::Cell RowStore::MakeCell(Statement& statement, int column)
{
    sqlite3_stmt* stmt = statement.Handle();
    Cell cell;
    cell.integer = 0;
    const int storage = sqlite3_column_type(stmt, column);
    if (storage == SQLITE_NULL) {
        cell.kind = Kind::Null;
        return cell;
    }
    const ColumnType declared = m_types[column];
    const auto text = [&] {
        cell.kind = Kind::String;
        cell.integer = std::int64_t(m_texts.size());
        m_texts.push_back(statement.Text(column));
        return cell;
    };
    const bool number = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (declared) {
    case ColumnType::Currency: {
        if (!number)
            return text();
        // Stored as a double rounded to ten-thousandths: rounding again gives the exact amount.
        const double stored = sqlite3_column_double(stmt, column);
        const double units = stored * 10000.0;
        if (!(units >= -0x1p63 && units < 0x1p63)) {
            cell.kind = Kind::CurrencyOverflow;
            cell.real = stored;
            return cell;
        }
        cell.kind = Kind::Currency;
        cell.integer = std::llround(units);
        return cell;
    }
    case ColumnType::Date:
        if (storage == SQLITE_TEXT) {
            bool hasTime = false;
            const char* stored = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            if (ParseStoredDate(stored, sqlite3_column_bytes(stmt, column), cell.integer,
                                hasTime)) {
                cell.kind = hasTime ? Kind::DateTime : Kind::Date;
                return cell;
            }
        }
        return text();
    case ColumnType::Boolean:
        if (!number)
            return text();
        cell.kind = Kind::Boolean;
        cell.integer = sqlite3_column_double(stmt, column) != 0 ? 1 : 0;
        return cell;
    case ColumnType::Double:
        if (!number)
            return text();
        cell.kind = Kind::Double;
        cell.real = sqlite3_column_double(stmt, column);
        return cell;
    case ColumnType::Long:
        if (storage != SQLITE_INTEGER)
            break;
        cell.kind = Kind::Long;
        cell.integer = sqlite3_column_int64(stmt, column);
        return cell;
    case ColumnType::Text:
    case ColumnType::Undeclared:
        break;
    }
    // Typed by what is stored: expressions, and values their column's type cannot hold.
    switch (storage) {
    case SQLITE_INTEGER:
        cell.kind = Kind::Long;
        cell.integer = sqlite3_column_int64(stmt, column);
        return cell;
    case SQLITE_FLOAT:
        cell.kind = Kind::Double;
        cell.real = sqlite3_column_double(stmt, column);
        return cell;
    default:
        return text();
    }
}

Variant RowStore::Value(int row, int column) const
{
    const Cell& cell = m_cells[std::size_t(row) * m_names.size() + column];
    switch (cell.kind) {
    case Kind::Null:
        return Variant::Null();
    case Kind::Long:
        return Variant::FromLong(cell.integer);
    case Kind::Double:
        return Variant::FromDouble(cell.real);
    case Kind::Currency:
        return Variant::FromCurrency(Currency::FromTenThousandths(cell.integer));
    case Kind::CurrencyOverflow:
        throw RuntimeError(QStringLiteral("Overflow: the stored amount %1 of %2 is beyond the "
                                          "currency range")
                               .arg(QString::number(cell.real, 'g', 17), m_names[column]),
                           6);
    case Kind::Date:
    case Kind::DateTime: {
        const QDate date = QDate::fromJulianDay(cell.integer / kMsPerDay);
        const QTime time = QTime::fromMSecsSinceStartOfDay(int(cell.integer % kMsPerDay));
        return Variant::FromDate(QDateTime(date, time), cell.kind == Kind::DateTime);
    }
    case Kind::String:
        return Variant::FromString(m_texts[std::size_t(cell.integer)]);
    case Kind::Boolean:
        return Variant::FromBoolean(cell.integer != 0);
    }
    return Variant();
}
