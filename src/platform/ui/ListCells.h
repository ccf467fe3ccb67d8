#pragma once

#include <QString>
#include <QStringEncoder>
#include <QUtf8StringView>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The texts of a list's cells, kept in UTF-8 in a few large blocks: each row's cells lie one
// after the other, each ended by kCellEnd, so that a row is one piece of text a find can
// search. A list of 100 000 rows takes little more than its text, and no allocation per cell.
//
// A row grows in place while it is the last one written, which is how a list is filled: a
// row added, then its cells. A row written again later moves behind the others, and the
// blocks are packed again when moved rows leave much room behind.
class ListCells
{
public:
    static constexpr char kCellEnd = '\x1f';

    int ColumnCount() const { return m_columns; }
    int RowCount() const { return int(m_rowAt.size()); }
    // A column of empty cells after the others.
    void AddColumn();
    // A row of empty cells after the others.
    void AddRow();
    void Set(int row, int column, QStringView text);
    QUtf8StringView Cell(int row, int column) const;
    QString Text(int row, int column) const { return Cell(row, column).toString(); }
    // Every cell of the row, each followed by kCellEnd.
    QUtf8StringView Row(int row) const;
    // No rows; the columns stay.
    void Clear();

private:
    struct Block
    {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };
    // Room for `length` bytes at the end of the last block, or a new block; where it is.
    std::uint64_t Allocate(std::size_t length);
    char* At(std::uint64_t place) const;
    std::size_t RowLength(int row) const;
    // Every row copied into new blocks in order, each with `extraColumns` empty cells more.
    void Repack(int extraColumns);

    std::vector<Block> m_blocks;
    // The block rows are written to; those after it are empty.
    std::size_t m_current = 0;
    // Where each row begins: its block above 32 bits, the offset in the block below.
    std::vector<std::uint64_t> m_rowAt;
    // Row r, column c ends (its kCellEnd lies) at m_ends[r * columns + c] from the row's start.
    std::vector<std::uint32_t> m_ends;
    int m_columns = 0;
    // Bytes of rows that moved on, left behind in their blocks.
    std::size_t m_unused = 0;
    std::size_t m_used = 0;
    // The text being set, in UTF-8.
    std::vector<char> m_utf8;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
};
