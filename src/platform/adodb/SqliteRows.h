#pragma once

#include "platform/adodb/RowCursor.h"
#include "platform/adodb/Schema.h"

#include <QString>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

class RuntimeError;
class SqliteEngine;
class Statement;

// The rows of one statement on a local file, each value typed by the declared type of the
// column it comes from (through a view, of the column the view reads), or by what is stored
// where the declaration says nothing or the value does not fit it.
//
// The statement is stepped as rows are asked for. While it is, it holds the file's read
// lock, and it sees the database as it was when it began: no other program can change the
// file meanwhile, and before the program itself writes, its engine has every such statement
// read to its end (Finish). Rows may be read on another thread than the engine's (a
// recordset reads ahead): a read and the engine's Finish or Orphan wait for each other.
class SqliteCursor final : public RowCursor
{
public:
    SqliteCursor(SqliteEngine& engine, std::unique_ptr<Statement> statement, QString engineSql,
                 QString shownSql);
    ~SqliteCursor() override;

    void AddColumns(RowStore& rows) override;
    bool Read(RowStore& rows, int count) override;
    std::unique_ptr<RowCursor> Again() override;

    // Reads every row still to come into memory and lets the statement go.
    void Finish();
    // The engine is closing: the rows to come are read, and Again has nothing to read from.
    void Orphan();

private:
    // What tells whether the database changed: other programs' commits, this connection's
    // changes and the schema.
    struct Stamp
    {
        std::int64_t otherCommits, ownChanges, schema;
        bool operator==(const Stamp&) const = default;
    };
    Stamp CurrentStamp() const;
    bool Step(RowStore& rows);
    void ReadRest();

    SqliteEngine* m_engine;
    std::unique_ptr<Statement> m_statement;
    QString m_engineSql;
    QString m_shownSql;
    std::vector<ColumnType> m_types;
    // Taken once the statement is known to give more than one batch of rows.
    std::optional<Stamp> m_stamp;
    // Rows Finish read ahead, given from m_aheadAt on; and a failure it met on the way.
    std::unique_ptr<RowStore> m_ahead;
    int m_aheadAt = 0;
    std::unique_ptr<RuntimeError> m_failure;
    std::mutex m_reading;
};
