#pragma once

#include "platform/value/Variant.h"

#include <QString>
#include <QStringList>
#include <QUtf8StringView>
#include <cstdint>
#include <string>
#include <vector>

// Rows of a query, kept compactly: a cell is 16 bytes (a number, or where its text lies), the
// texts lie in one buffer in UTF-8, and a Variant is made only when a field is asked for.
// Engines fill it through the Add… calls (SqliteRows, PgRows); this is the one place that
// keeps rows.
class RowStore
{
public:
    // Filling: the columns first, then the cells of each row in column order.
    void AddColumn(const QString& name);
    void AddNull();
    void AddLong(std::int64_t value);
    void AddDouble(double value);
    void AddCurrency(std::int64_t tenThousandths);
    // A number in a currency column beyond the currency range, kept to name it.
    void AddCurrencyOverflow(double stored);
    // dayAndTime is a Julian day times kMsPerDay plus the milliseconds into that day.
    void AddDate(std::int64_t dayAndTime, bool hasTime);
    void AddText(QUtf8StringView text);
    void AddBoolean(bool value);
    // The cell of another store with the same columns.
    void Add(const RowStore& other, int row, int column);
    // Forgets every row, keeping the columns and the room the rows took.
    void ClearRows();
    // Makes each text cell's QString now, so that Value gives it without converting: rows
    // read on one thread are made ready there for the thread that uses them.
    void MakeTexts();

    int RowCount() const { return m_rowCount; }
    int ColumnCount() const { return int(m_names.size()); }
    const QString& ColumnName(int column) const { return m_names[column]; }
    const QStringList& ColumnNames() const { return m_names; }
    // Case-insensitive; -1 when the rows have no such column.
    int ColumnIndex(const QString& name) const;
    // The bytes the rows take.
    std::size_t Size() const;
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
            std::int64_t integer; // a text's place in m_texts
            double real;
        };
        Kind kind;
    };
    void Add(Cell cell);
    QUtf8StringView TextAt(std::int64_t place) const;

    QStringList m_names;
    std::vector<Cell> m_cells; // row after row
    // Each text as its length (four bytes) and its UTF-8 bytes.
    std::string m_texts;
    // By cell, once MakeTexts has run.
    std::vector<QString> m_strings;
    int m_rowCount = 0;
    int m_column = 0; // of the next cell
};

constexpr std::int64_t kMsPerDay = 86400000;

// The stored form of a date, "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" (a "T" also accepted), as
// RowStore::AddDate takes it; hasTime tells whether a time was written. False for any other
// text.
bool ParseStoredDate(const char* text, int length, std::int64_t& dayAndTime, bool& hasTime);
