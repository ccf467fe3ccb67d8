#include "backup/SqliteFile.h"

#include "data/Globals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Statement.h"

#include <sqlite3.h>

SqliteFile::SqliteFile(const QString& path, int openFlags)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, openFlags, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        throw RuntimeError("Cannot open " + path + ": " + message);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteFile::~SqliteFile()
{
    sqlite3_close_v2(m_db);
}

QString SqliteFile::Scalar(const QString& sql) const
{
    Statement statement(m_db, sql);
    return statement.Step() ? statement.Text(0) : QString();
}

void CopyDatabase(sqlite3* from, sqlite3* to, const QString& what)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw RuntimeError("Cannot copy " + what + ": " + QString::fromUtf8(sqlite3_errmsg(to)));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        throw RuntimeError(
            "Cannot copy " + what + ": " +
            QString::fromUtf8(sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished)));
}

sqlite3* WorkingDatabaseHandle()
{
    if (!g_Conn || g_Conn->State() == Connection::adStateClosed)
        throw RuntimeError("The inventory is not open.", 91);
    if (!g_Conn->Handle())
        throw RuntimeError("The inventory is on a server, not in the local working database.");
    return g_Conn->Handle();
}
