#pragma once

#include "platform/adodb/Schema.h"
#include "platform/adodb/Variant.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class Statement;

// Every row of a query, read at once and kept compactly: a cell is 16 bytes (a number, or
// the index of its text), texts are shared QStrings, and a Variant is made only when a
// field is asked for.
class RowStore
{
public:
    // Steps the statement to its end.
    void Load(Statement& statement);

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
    Cell MakeCell(Statement& statement, int column);

    QStringList m_names;
    std::vector<ColumnType> m_types;
    std::vector<Cell> m_cells; // row after row
    std::vector<QString> m_texts;
    int m_rowCount = 0;
};
