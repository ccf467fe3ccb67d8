#include "platform/adodb/SqliteRows.h"

#include "platform/adodb/RowStore.h"
#include "platform/adodb/Schema.h"
#include "platform/adodb/Statement.h"

#include <sqlite3.h>

#include <cmath>

namespace {

void AddCell(Statement& statement, int column, ColumnType declared, RowStore& rows)
{
    sqlite3_stmt* stmt = statement.Handle();
    const int storage = sqlite3_column_type(stmt, column);
    if (storage == SQLITE_NULL)
        return rows.AddNull();
    const bool number = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (declared) {
    case ColumnType::Currency: {
        if (!number)
            break;
        // Stored as a double rounded to ten-thousandths: rounding again gives the exact amount.
        const double stored = sqlite3_column_double(stmt, column);
        const double units = stored * 10000.0;
        if (!(units >= -0x1p63 && units < 0x1p63))
            return rows.AddCurrencyOverflow(stored);
        return rows.AddCurrency(std::llround(units));
    }
    case ColumnType::Date:
        if (storage == SQLITE_TEXT) {
            std::int64_t dayAndTime = 0;
            bool hasTime = false;
            if (ParseStoredDate(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                sqlite3_column_bytes(stmt, column), dayAndTime, hasTime))
                return rows.AddDate(dayAndTime, hasTime);
        }
        return rows.AddText(statement.Text(column));
    case ColumnType::Boolean:
        if (!number)
            break;
        return rows.AddBoolean(sqlite3_column_double(stmt, column) != 0);
    case ColumnType::Double:
        if (!number)
            break;
        return rows.AddDouble(sqlite3_column_double(stmt, column));
    case ColumnType::Long:
    case ColumnType::Text:
    case ColumnType::Undeclared:
        break;
    }
    // Typed by what is stored: expressions, and values their column's type cannot hold.
    switch (storage) {
    case SQLITE_INTEGER:
        return rows.AddLong(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return rows.AddDouble(sqlite3_column_double(stmt, column));
    default:
        return rows.AddText(statement.Text(column));
    }
}

} // namespace

void ReadRows(Statement& statement, RowStore& rows)
{
    sqlite3_stmt* stmt = statement.Handle();
    const int columns = sqlite3_column_count(stmt);
    std::vector<ColumnType> types;
    for (int i = 0; i < columns; ++i) {
        rows.AddColumn(QString::fromUtf8(sqlite3_column_name(stmt, i)));
        types.push_back(ColumnTypeFromDeclaration(sqlite3_column_decltype(stmt, i)));
    }
    for (int row = 0; statement.Step(); ++row) {
        // A long list grows its storage in few large steps.
        if (row == 1024)
            rows.Reserve(16384);
        for (int i = 0; i < columns; ++i)
            AddCell(statement, i, types[std::size_t(i)], rows);
    }
}
