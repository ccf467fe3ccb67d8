#include "platform/adodb/Statement.h"

#include "platform/RuntimeError.h"

#include <sqlite3.h>

#include <cerrno>

void ThrowEngineError(sqlite3* db, const QString& shownSql)
{
    // A write past the file-size limit that the system sets fails like a write to a full
    // disk, and is described so. The engine keeps no reliable note of the system's error
    // here, but the thread's own is still that of the failed write.
    const int systemError = errno;
    const bool sizeLimit = sqlite3_extended_errcode(db) == SQLITE_IOERR_WRITE &&
                           (systemError == EFBIG || sqlite3_system_errno(db) == EFBIG);
    const char* message = sizeLimit ? sqlite3_errstr(SQLITE_FULL) : sqlite3_errmsg(db);
    ThrowStatementError(QString::fromUtf8(message), shownSql);
}

Statement::Statement(sqlite3* db, const QString& engineSql, const QString& shownSql)
    : m_db(db), m_shownSql(shownSql.isEmpty() ? engineSql : shownSql)
{
    RefuseNul(engineSql, m_shownSql);
    const QByteArray utf8 = engineSql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, &tail) != SQLITE_OK)
        Fail();
    if (!m_stmt)
        RefuseEmptyStatement(m_shownSql);
    // The destructor does not run for a constructor that throws.
    // Whatever follows must be blanks, semicolons or comments: no second statement.
    sqlite3_stmt* next = nullptr;
    const int rest = int(utf8.constData() + utf8.size() - tail);
    const int prepared = sqlite3_prepare_v2(db, tail, rest, &next, nullptr);
    sqlite3_finalize(next);
    if (prepared != SQLITE_OK || next) {
        sqlite3_finalize(m_stmt);
        RefuseSecondStatement(m_shownSql);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

bool Statement::Step()
{
    const int result = sqlite3_step(m_stmt);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    Fail();
}

void Statement::Bind(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        Fail();
}

QString Statement::Text(int column) const
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                             sqlite3_column_bytes(m_stmt, column));
}

bool Statement::ReadOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}

void Statement::Fail() const
{
    ThrowEngineError(m_db, m_shownSql);
}
