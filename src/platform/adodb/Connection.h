#pragma once

#include "platform/adodb/Engine.h"

#include <QString>
#include <memory>

struct sqlite3;

// The program's connection to its database: a local SQLite file, opened from the connection
// string the program has always used ("provider=microsoft.jet.oledb.4.0;data source=<path>;
// ..."), or a PostgreSQL database, opened from a libpq connection string or URI
// ("postgresql://anna@db.example/inventory"). Both run the program's statement dialect and
// give the same values. Every failure throws RuntimeError with a description that names what
// failed; nothing is ever shown from here.
class Connection
{
public:
    enum State { adStateClosed = 0, adStateOpen = 1 };

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // See SqliteEngine and ConnectToServer for what each kind of string may name and how
    // a failure is described.
    void Open(const QString& connectionString);
    // Runs one statement of the dialect and gives the number of rows it inserted, changed or
    // deleted. A statement that fails changes nothing. A text with a second statement, or
    // with the character NUL, is refused.
    long long Execute(const QString& sql);
    int State() const;
    void Close();

    // All-or-nothing groups of statements.
    void BeginTrans(TransactionKind kind = TransactionKind::Write);
    void CommitTrans();
    // Undoes the open transaction; nothing to do when none is open.
    void RollbackTrans();

    // Whether the database is on a server rather than in a local file.
    bool IsShared() const;
    // The connection string of the last Open, also of one that failed (a password in it
    // included), so that a closed connection can be opened on the same inventory again.
    const QString& Source() const { return m_source; }
    // The SQLite database of a local file, for its backups; nullptr when closed or shared.
    sqlite3* Handle() const;
    // The engine behind the connection, for the recordsets and for copying an inventory;
    // throws RuntimeError when the connection is closed.
    Engine& Database() const;

private:
    std::unique_ptr<Engine> m_engine;
    QString m_source;
};
