#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class Recordset;
class RowCursor;

// What a transaction is for.
enum class TransactionKind {
    // Statements that write: all of them or none. It keeps other writers of the rows it
    // changes (or locks with SELECT … FOR UPDATE) out until it ends.
    Write,
    // Several reads that see the database as it was at their start, whatever others write
    // meanwhile.
    Snapshot,
};

// A database engine behind Connection. Each one takes the program's statement dialect,
// gives its values typed as the program expects them, and throws RuntimeError with a clear
// description on every failure.
class Engine
{
public:
    virtual ~Engine() = default;

    // Runs one statement; the number of rows it inserted, changed or deleted.
    virtual long long Execute(const QString& sql) = 0;
    // Runs one statement that only reads; its rows are read from the cursor.
    virtual std::unique_ptr<RowCursor> Query(const QString& sql) = 0;

    virtual void BeginTrans(TransactionKind kind) = 0;
    virtual void CommitTrans() = 0;
    // Never throws for a transaction that the engine has already undone.
    virtual void RollbackTrans() = 0;

    // For copying an inventory: stores every row of `rows` into `table` as it is, keys
    // included, matching columns by name.
    virtual void AppendRows(const QString& table, const Recordset& rows) = 0;
    // The highest key the table has ever given (0 for none), deleted rows included.
    virtual std::int64_t KeysUsed(const QString& table) = 0;
    // Makes the table give keys above `key` from now on.
    virtual void ContinueKeysAfter(const QString& table, std::int64_t key) = 0;
};
