#pragma once

#include "platform/adodb/Errors.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement, finalized however its user ends. It holds exactly one
// statement: text with a second statement after the first is refused, so that nothing
// pasted into a value can run a statement of its own.
class Statement
{
public:
    // shownSql is the text that error descriptions quote, cut to its first 300 characters
    // (the program's own text, before it was rewritten for the engine); empty means engineSql.
    Statement(sqlite3* db, const QString& engineSql, const QString& shownSql = QString());
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // True while there is a row; false when done. Throws RuntimeError on failure.
    bool Step();
    void Bind(int index, const QString& text);
    QString Text(int column) const;
    bool ReadOnly() const;
    sqlite3_stmt* Handle() const { return m_stmt; }

    // Throws the engine's last error, quoting the statement.
    [[noreturn]] void Fail() const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_shownSql;
};

// "<engine message> in the statement: <sql>", the statement quoted as QuotedStatement does.
[[noreturn]] void ThrowEngineError(sqlite3* db, const QString& shownSql);
