#include "platform/adodb/SqliteRows.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/RowStore.h"
#include "platform/adodb/SqliteEngine.h"
#include "platform/adodb/Statement.h"

#include <sqlite3.h>

#include <cmath>

namespace {

QUtf8StringView StoredText(sqlite3_stmt* stmt, int column)
{
    return QUtf8StringView(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                           sqlite3_column_bytes(stmt, column));
}

void AddCell(sqlite3_stmt* stmt, int column, ColumnType declared, RowStore& rows)
{
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
            const QUtf8StringView text = StoredText(stmt, column);
            if (ParseStoredDate(text.data(), int(text.size()), dayAndTime, hasTime))
                return rows.AddDate(dayAndTime, hasTime);
        }
        return rows.AddText(StoredText(stmt, column));
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
        return rows.AddText(StoredText(stmt, column));
    }
}

std::int64_t PragmaValue(sqlite3* db, const char* pragma)
{
    Statement statement(db, QString::fromLatin1(pragma));
    statement.Step();
    return sqlite3_column_int64(statement.Handle(), 0);
}

} // namespace

SqliteCursor::SqliteCursor(SqliteEngine& engine, std::unique_ptr<Statement> statement,
                           QString engineSql, QString shownSql)
    : m_engine(&engine), m_statement(std::move(statement)), m_engineSql(std::move(engineSql)),
      m_shownSql(std::move(shownSql))
{
    sqlite3_stmt* stmt = m_statement->Handle();
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        m_types.push_back(ColumnTypeFromDeclaration(sqlite3_column_decltype(stmt, i)));
    m_engine->Register(this);
}

SqliteCursor::~SqliteCursor()
{
    if (m_engine)
        m_engine->Unregister(this);
}

void SqliteCursor::AddColumns(RowStore& rows)
{
    sqlite3_stmt* stmt = m_statement->Handle();
    for (int i = 0; i < int(m_types.size()); ++i)
        rows.AddColumn(QString::fromUtf8(sqlite3_column_name(stmt, i)));
}

bool SqliteCursor::Step(RowStore& rows)
{
    if (m_ahead) {
        if (m_aheadAt == m_ahead->RowCount()) {
            if (m_failure)
                throw RuntimeError(*m_failure);
            return false;
        }
        for (int column = 0; column < m_ahead->ColumnCount(); ++column)
            rows.Add(*m_ahead, m_aheadAt, column);
        ++m_aheadAt;
        return true;
    }
    if (!m_statement)
        return false;
    if (!m_statement->Step()) {
        m_statement.reset();
        return false;
    }
    sqlite3_stmt* stmt = m_statement->Handle();
    for (int column = 0; column < int(m_types.size()); ++column)
        AddCell(stmt, column, m_types[std::size_t(column)], rows);
    return true;
}

bool SqliteCursor::Read(RowStore& rows, int count)
{
    const std::lock_guard lock(m_reading);
    for (int row = 0; row < count; ++row)
        if (!Step(rows))
            return false;
    // More may come: what the rows are read from is noted, so that they can be read again.
    if (m_statement && !m_stamp)
        m_stamp = CurrentStamp();
    return true;
}

SqliteCursor::Stamp SqliteCursor::CurrentStamp() const
{
    sqlite3* db = m_engine->Handle();
    return {PragmaValue(db, "PRAGMA data_version"), sqlite3_total_changes64(db),
            PragmaValue(db, "PRAGMA schema_version")};
}

std::unique_ptr<RowCursor> SqliteCursor::Again()
{
    if (!m_engine)
        throw RuntimeError("Operation is not allowed when the object is closed.", 3704);
    if (!m_stamp || CurrentStamp() != *m_stamp)
        throw RuntimeError("The rows of the recordset cannot be read again: the database has "
                           "changed since it was opened. Open the recordset again.",
                           3021);
    auto statement = std::make_unique<Statement>(m_engine->Handle(), m_engineSql, m_shownSql);
    auto again =
        std::make_unique<SqliteCursor>(*m_engine, std::move(statement), m_engineSql, m_shownSql);
    again->m_stamp = m_stamp;
    return again;
}

void SqliteCursor::Finish()
{
    const std::lock_guard lock(m_reading);
    ReadRest();
}

void SqliteCursor::ReadRest()
{
    if (!m_statement)
        return;
    auto ahead = std::make_unique<RowStore>();
    AddColumns(*ahead);
    try {
        while (Step(*ahead)) {
        }
    } catch (const RuntimeError& error) {
        // Told when the rows are read on to the failure.
        m_failure = std::make_unique<RuntimeError>(error);
        m_statement.reset();
    }
    m_ahead = std::move(ahead);
    m_aheadAt = 0;
}

void SqliteCursor::Orphan()
{
    const std::lock_guard lock(m_reading);
    ReadRest();
    m_engine = nullptr;
}
