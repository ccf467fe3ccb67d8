#include "platform/adodb/Recordset.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/ReadAhead.h"
#include "platform/adodb/RowCursor.h"
#include "platform/adodb/RowStore.h"

namespace {

// Rows read at a time; and what a recordset keeps before it lets passed rows go.
constexpr int kBatchRows = 1024;
constexpr std::size_t kKeptBytes = std::size_t(1) << 20;

[[noreturn]] void NotAllowed(const QString& description, long number)
{
    throw RuntimeError(description, number);
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Open(const QString& sql, Connection& connection, int cursorType, int lockType)
{
    if (m_rows)
        NotAllowed("Operation is not allowed when the object is open.", 3705);
    if (cursorType != adOpenStatic || lockType != adLockReadOnly)
        NotAllowed(QStringLiteral("Only static, read-only recordsets are supported "
                                  "(cursor type %1, lock type %2 asked)")
                       .arg(cursorType)
                       .arg(lockType),
                   3001);
    std::unique_ptr<RowCursor> cursor = connection.Database().Query(sql);
    auto rows = std::make_unique<RowStore>();
    cursor->AddColumns(*rows);
    m_more = cursor->Read(*rows, kBatchRows);
    m_cursor = std::move(cursor);
    m_rows = std::move(rows);
    m_first = 0;
    m_keepAll = false;
    m_position = 0;
}

void Recordset::Close()
{
    if (!m_rows)
        NotAllowed("Operation is not allowed when the object is closed.", 3704);
    m_ahead.reset();
    m_rows.reset();
    m_cursor.reset();
    m_position = 0;
}

void Recordset::ReadOn()
{
    if (m_keepAll || (!m_ahead && m_rows->Size() <= kKeptBytes)) {
        m_more = m_cursor->Read(*m_rows, kBatchRows);
        return;
    }
    // From here on each batch replaces the one passed, and the next is read meanwhile.
    m_first += m_rows->RowCount();
    if (!m_ahead)
        m_ahead = std::make_unique<ReadAhead>(*m_cursor, kBatchRows);
    m_more = m_ahead->Next(m_rows);
}

void Recordset::ReadAll() const
{
    m_keepAll = true;
    if (m_first > 0) {
        m_ahead.reset();
        m_cursor = m_cursor->Again();
        m_rows->ClearRows();
        m_first = 0;
        m_more = true;
    }
    while (m_more)
        m_more = m_cursor->Read(*m_rows, kBatchRows);
}

bool Recordset::IsOpen() const
{
    return m_rows != nullptr;
}

bool Recordset::Eof() const
{
    return !m_rows || m_position >= m_first + m_rows->RowCount();
}

bool Recordset::Bof() const
{
    return !m_rows || m_first + m_rows->RowCount() == 0 || m_position < 0;
}

void Recordset::MoveFirst()
{
    if (!m_rows)
        NotAllowed("Operation is not allowed when the object is closed.", 3704);
    // A recordset read again from its start keeps its rows.
    if (m_position > 0)
        ReadAll();
    m_position = 0;
}

void Recordset::MoveNext()
{
    if (Eof())
        NotAllowed(m_rows ? QStringLiteral("Either BOF or EOF is True, or the current record has "
                                           "been deleted. Requested operation requires a "
                                           "current record (MoveNext).")
                          : QStringLiteral("Operation is not allowed when the object is closed."),
                   m_rows ? 3021 : 3704);
    ++m_position;
    if (m_position == m_first + m_rows->RowCount() && m_more)
        ReadOn();
}

int Recordset::RecordCount() const
{
    if (!m_rows)
        return -1;
    ReadAll();
    return m_rows->RowCount();
}

void Recordset::SetAbsolutePosition(int position)
{
    if (!m_rows)
        NotAllowed("Operation is not allowed when the object is closed.", 3704);
    ReadAll();
    if (position < 1 || position > m_rows->RowCount())
        NotAllowed(QStringLiteral("Invalid property value: no record at position %1").arg(position),
                   380);
    m_position = position - 1;
}

Field Recordset::Fields(const QString& name) const
{
    if (!m_rows)
        NotAllowed("Operation is not allowed when the object is closed (field " + name + ").",
                   3704);
    const int column = m_rows->ColumnIndex(name);
    if (column < 0)
        NotAllowed("Item cannot be found in the collection corresponding to the requested name "
                   "or ordinal: " +
                       name,
                   3265);
    return Fields(column);
}

Field Recordset::Fields(int index) const
{
    if (!m_rows)
        NotAllowed(QStringLiteral("Operation is not allowed when the object is closed (field %1).")
                       .arg(index),
                   3704);
    if (index < 0 || index >= m_rows->ColumnCount())
        NotAllowed(QStringLiteral("Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal: %1")
                       .arg(index),
                   3265);
    if (Eof() || Bof())
        NotAllowed("Either BOF or EOF is True, or the current record has been deleted. Requested "
                   "operation requires a current record (field " +
                       m_rows->ColumnName(index) + ").",
                   3021);
    return Field{m_rows->ColumnName(index), m_rows->Value(m_position - m_first, index)};
}

int Recordset::FieldCount() const
{
    return m_rows ? m_rows->ColumnCount() : 0;
}

const RowStore& Recordset::Rows() const
{
    if (!m_rows)
        NotAllowed("Operation is not allowed when the object is closed.", 3704);
    ReadAll();
    return *m_rows;
}

QStringList Recordset::FieldNames() const
{
    return m_rows ? m_rows->ColumnNames() : QStringList();
}
