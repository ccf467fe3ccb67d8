#pragma once

#include <QString>
#include <memory>

struct sqlite3;
struct Schema;

// The program's connection to its database: takes the connection string the program has
// always used ("provider=microsoft.jet.oledb.4.0;data source=<path>;..."), and runs the
// program's statement dialect on SQLite. Every failure throws RuntimeError with a
// description that names what failed; nothing is ever shown from here.
class Connection
{
public:
    enum State { adStateClosed = 0, adStateOpen = 1 };

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file named by "data source=". Refuses an unknown provider, an empty path, a
    // missing file (it never creates one) and a file that is not a readable database.
    void Open(const QString& connectionString);
    // Runs one statement of the dialect and gives the number of rows it inserted, changed or
    // deleted. A statement that fails changes nothing.
    long long Execute(const QString& sql);
    int State() const;
    void Close();

    // All-or-nothing groups of statements.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // For the recordsets of this connection.
    sqlite3* Handle() const { return m_db; }
    // The program's statement text as the engine runs it; throws RuntimeError when the
    // connection is closed or the text stores a value its column cannot hold.
    QString EngineSql(const QString& sql);

private:
    void RequireOpen() const;

    sqlite3* m_db = nullptr;
    // The declared column types, read again whenever the database's schema changes.
    std::unique_ptr<Schema> m_schema;
    int m_schemaVersion = -1;
};
