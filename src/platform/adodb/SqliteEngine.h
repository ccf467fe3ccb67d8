#pragma once

#include "platform/adodb/Engine.h"
#include "platform/adodb/Schema.h"

#include <vector>

class SqliteCursor;
struct sqlite3;

// The program's database in a local SQLite file, opened from the connection string the
// program has always used ("provider=microsoft.jet.oledb.4.0;data source=<path>;...").
class SqliteEngine final : public Engine
{
public:
    // Opens the file named by "data source=". Refuses an unknown provider, an empty path, a
    // missing file (it never creates one) and a file that is not a readable database.
    explicit SqliteEngine(const QString& connectionString);
    ~SqliteEngine() override;

    long long Execute(const QString& sql) override;
    std::unique_ptr<RowCursor> Query(const QString& sql) override;
    // A write transaction takes the file's write lock at once, so that what it reads (and
    // locks with FOR UPDATE on a server) no other program changes before it ends.
    void BeginTrans(TransactionKind kind) override;
    void CommitTrans() override;
    void RollbackTrans() override;
    void AppendRows(const QString& table, const Recordset& rows) override;
    std::int64_t KeysUsed(const QString& table) override;
    void ContinueKeysAfter(const QString& table, std::int64_t key) override;

    sqlite3* Handle() const { return m_db; }

    // The cursors over this database, which it finishes before it writes and when it closes.
    void Register(SqliteCursor* cursor);
    void Unregister(SqliteCursor* cursor);

private:
    // Before a write: every statement still being read is read to its end first, so that its
    // rows stay as they were when it began.
    void FinishReads();
    // The program's statement text as SQLite runs it; throws RuntimeError when the text
    // stores a value its column cannot hold.
    QString EngineSql(const QString& sql);
    const Schema& CurrentSchema();

    sqlite3* m_db = nullptr;
    // The declared column types, read again whenever the database's schema changes.
    Schema m_schema;
    int m_schemaVersion = -1;
    std::vector<SqliteCursor*> m_cursors;
};
