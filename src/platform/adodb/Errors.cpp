#include "platform/adodb/Errors.h"

#include "platform/RuntimeError.h"

namespace {

constexpr qsizetype kQuotedLength = 300;

} // namespace

QString QuotedStatement(const QString& sql)
{
    return sql.size() <= kQuotedLength ? sql : sql.left(kQuotedLength) + QChar(0x2026);
}

void ThrowStatementError(const QString& description, const QString& sql)
{
    throw RuntimeError(description + QStringLiteral(" in the statement: ") + QuotedStatement(sql),
                       kStatementErrorNumber);
}

void RefuseEmptyStatement(const QString& sql)
{
    throw RuntimeError("The statement is empty: " + QuotedStatement(sql), kStatementErrorNumber);
}

void RefuseSecondStatement(const QString& sql)
{
    throw RuntimeError("Only one statement can be run at a time: " + QuotedStatement(sql),
                       kStatementErrorNumber);
}

void RefuseWritingQuery(const QString& sql)
{
    throw RuntimeError("A recordset reads; this statement changes data: " + QuotedStatement(sql),
                       3001);
}

void RefuseNul(const QString& text, const QString& shownSql)
{
    if (text.contains(QChar(0)))
        throw RuntimeError("A statement cannot hold the character NUL: " +
                               QuotedStatement(shownSql).replace(QChar(0), QLatin1String("\\0")),
                           kStatementErrorNumber);
}
