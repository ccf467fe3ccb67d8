#include "platform/ui/ListCells.h"

#include <algorithm>
#include <cstring>

namespace {

// A block holds the rows of a few thousand assets; a longer row gets a block of its own.
constexpr std::size_t kBlockBytes = std::size_t(1) << 20;

} // namespace

void ListCells::AddColumn()
{
    if (m_rowAt.empty())
        ++m_columns;
    else
        Repack(1);
}

void ListCells::AddRow()
{
    const std::uint64_t place = Allocate(std::size_t(m_columns));
    std::memset(At(place), kCellEnd, std::size_t(m_columns));
    m_rowAt.push_back(place);
    for (int column = 0; column < m_columns; ++column)
        m_ends.push_back(std::uint32_t(column));
    m_used += std::size_t(m_columns);
}

void ListCells::Set(int row, int column, QStringView text)
{
    // The buffer only ever grows; the encoder's own loop takes long ASCII texts many
    // characters at a time.
    if (m_utf8.size() < std::size_t(text.size()) * 3)
        m_utf8.resize(std::size_t(text.size()) * 3);
    const char* const utf8 = m_utf8.data();
    const std::size_t size = std::size_t(m_encoder.appendToBuffer(m_utf8.data(), text) - utf8);
    std::uint32_t* ends = &m_ends[std::size_t(row) * std::size_t(m_columns)];
    const std::size_t start = column == 0 ? 0 : ends[column - 1] + 1;
    const std::size_t end = ends[column];
    const std::size_t length = RowLength(row);
    const std::size_t newLength = length - (end - start) + size;
    const std::uint64_t at = m_rowAt[std::size_t(row)];
    Block& block = m_blocks[at >> 32];
    const std::size_t offset = at & 0xffffffffU;
    const bool last = (at >> 32) == m_current && offset + length == block.used;
    char* old = At(at);
    if (last && offset + newLength <= block.size) {
        std::memmove(old + start + size, old + end, length - end);
        std::memcpy(old + start, utf8, size);
        block.used = offset + newLength;
    } else {
        const std::uint64_t place = Allocate(newLength);
        char* moved = At(place);
        std::memcpy(moved, old, start);
        std::memcpy(moved + start, utf8, size);
        std::memcpy(moved + start + size, old + end, length - end);
        m_rowAt[std::size_t(row)] = place;
        m_unused += length;
    }
    for (int c = column; c < m_columns; ++c)
        ends[c] = std::uint32_t(ends[c] + size - (end - start));
    m_used = m_used + newLength - length;
    if (m_unused > kBlockBytes && m_unused > m_used)
        Repack(0);
}

QUtf8StringView ListCells::Cell(int row, int column) const
{
    const std::uint32_t* ends = &m_ends[std::size_t(row) * std::size_t(m_columns)];
    const std::size_t start = column == 0 ? 0 : ends[column - 1] + 1;
    return QUtf8StringView(At(m_rowAt[std::size_t(row)]) + start, qsizetype(ends[column] - start));
}

QUtf8StringView ListCells::Row(int row) const
{
    return QUtf8StringView(At(m_rowAt[std::size_t(row)]), qsizetype(RowLength(row)));
}

void ListCells::Clear()
{
    // The blocks stay for the rows of the next fill, which a list that is filled again after
    // every change would otherwise take from the system anew.
    for (Block& block : m_blocks)
        block.used = 0;
    m_current = 0;
    m_rowAt.clear();
    m_ends.clear();
    m_unused = 0;
    m_used = 0;
}

std::uint64_t ListCells::Allocate(std::size_t length)
{
    while (m_current < m_blocks.size() &&
           m_blocks[m_current].size - m_blocks[m_current].used < length)
        // A block kept from an earlier fill that the row does not fit is passed over.
        ++m_current;
    if (m_current == m_blocks.size()) {
        Block block;
        // Room for a long row to grow by half again before it moves.
        block.size = std::max(kBlockBytes, length + length / 2);
        block.bytes.reset(new char[block.size]);
        m_blocks.push_back(std::move(block));
    }
    Block& block = m_blocks[m_current];
    const std::uint64_t place = (std::uint64_t(m_current) << 32) | block.used;
    block.used += length;
    return place;
}

char* ListCells::At(std::uint64_t place) const
{
    return m_blocks[place >> 32].bytes.get() + (place & 0xffffffffU);
}

std::size_t ListCells::RowLength(int row) const
{
    return m_columns == 0 ? 0
                          : m_ends[std::size_t(row) * std::size_t(m_columns) + m_columns - 1] + 1;
}

void ListCells::Repack(int extraColumns)
{
    const std::vector<Block> old = std::move(m_blocks);
    const std::vector<std::uint64_t> oldAt = std::move(m_rowAt);
    const std::vector<std::uint32_t> oldEnds = std::move(m_ends);
    const int oldColumns = m_columns;
    m_blocks.clear();
    m_current = 0;
    m_rowAt.clear();
    m_ends.clear();
    m_columns += extraColumns;
    m_unused = 0;
    m_used = 0;
    m_rowAt.reserve(oldAt.size());
    m_ends.reserve(oldAt.size() * std::size_t(m_columns));
    for (std::size_t row = 0; row < oldAt.size(); ++row) {
        const std::uint32_t* ends = &oldEnds[row * std::size_t(oldColumns)];
        const std::size_t length = oldColumns == 0 ? 0 : ends[oldColumns - 1] + 1;
        const std::uint64_t place = Allocate(length + std::size_t(extraColumns));
        char* to = At(place);
        std::memcpy(to, old[oldAt[row] >> 32].bytes.get() + (oldAt[row] & 0xffffffffU), length);
        std::memset(to + length, kCellEnd, std::size_t(extraColumns));
        m_rowAt.push_back(place);
        m_ends.insert(m_ends.end(), ends, ends + oldColumns);
        for (int extra = 0; extra < extraColumns; ++extra)
            m_ends.push_back(std::uint32_t(length + std::size_t(extra)));
        m_used += length + std::size_t(extraColumns);
    }
}
