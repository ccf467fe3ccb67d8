#pragma once

#include "platform/adodb/Variant.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Every row of a query, read at once and kept compactly: a cell is 16 bytes (a number, or
// the index of its text), texts are shared QStrings, and a Variant is made only when a
// field is asked for. Engines fill it through the Add… calls, each with its own reader
// (SqliteRows, PgRows); this is the one place that keeps rows.
class RowStore
{
public:
    // Filling: the columns first, then the cells of each row in column order.
    void AddColumn(const QString& name);
    void Reserve(int rows);
    void AddNull();
    void AddLong(std::int64_t value);
    void AddDouble(double value);
    void AddCurrency(std::int64_t tenThousandths);
    // A number in a currency column beyond the currency range, kept to name it.
    void AddCurrencyOverflow(double stored);
    // dayAndTime is a Julian day times kMsPerDay plus the milliseconds into that day.
    void AddDate(std::int64_t dayAndTime, bool hasTime);
    void AddText(const QString& value);
    void AddBoolean(bool value);

    int RowCount() const { return m_rowCount; }
    int ColumnCount() const { return int(m_names.size()); }
    const QString& ColumnName(int column) const { return m_names[column]; }
    const QStringList& ColumnNames() const { return m_names; }
    // Case-insensitive; -1 when the rows have no such column.
    int ColumnIndex(const QString& name) const;
    // A number stored in a currency column beyond the currency range throws RuntimeError
    // "Overflow" (6): it is never read as some other amount.
    Variant Value(int row, int column) const;

private:
    enum class Kind : std::uint8_t {
        Null,
        Long,
        Double,
        Currency,
        CurrencyOverflow, // a number the currency type cannot hold, kept to name it
        Date,
        DateTime,
        String,
        Boolean
    };
    struct Cell
    {
        union {
            std::int64_t integer;
            double real;
        };
        Kind kind;
    };
    void Add(Cell cell);

    QStringList m_names;
    std::vector<Cell> m_cells; // row after row
    std::vector<QString> m_texts;
    int m_rowCount = 0;
    int m_column = 0; // of the next cell
};

constexpr std::int64_t kMsPerDay = 86400000;

// The stored form of a date, "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" (a "T" also accepted), as
// RowStore::AddDate takes it; hasTime tells whether a time was written. False for any other
// text.
bool ParseStoredDate(const char* text, int length, std::int64_t& dayAndTime, bool& hasTime);
