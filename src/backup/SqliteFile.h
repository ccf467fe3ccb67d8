#pragma once

#include <QString>

struct sqlite3;

// A database file that the backup code opens beside the working database: a backup being
// written, or a file to check or restore. Closed however its user ends; every failure throws
// RuntimeError naming the file.
class SqliteFile
{
public:
    SqliteFile(const QString& path, int openFlags);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* Handle() const { return m_db; }
    // The first column of the first row ("" when there is none).
    QString Scalar(const QString& sql) const;

private:
    sqlite3* m_db = nullptr;
};

// The local working database under the shared connection g_Conn; throws when it is not open
// or when g_Conn is on a server.
sqlite3* WorkingDatabaseHandle();

// Copies every page of `from` over `to` with SQLite's online backup API, in one step: one
// read transaction on `from`, one write transaction on `to`, so a copy cut short leaves `to`
// as it was. `what` names the copy in the error ("the backup /…/x.mdb").
void CopyDatabase(sqlite3* from, sqlite3* to, const QString& what);
