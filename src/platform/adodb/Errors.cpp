#include "platform/adodb/Errors.h"

#include "platform/RuntimeError.h"

void RefuseSecondStatement(const QString& sql)
{
    throw RuntimeError("Only one statement can be run at a time: " + sql, kStatementErrorNumber);
}

void RefuseWritingQuery(const QString& sql)
{
    throw RuntimeError("A recordset reads; this statement changes data: " + sql, 3001);
}

void RefuseNul(const QString& text, const QString& shownSql)
{
    if (text.contains(QChar(0)))
        throw RuntimeError("A statement cannot hold the character NUL: " +
                               QString(shownSql).replace(QChar(0), QLatin1String("\\0")),
                           kStatementErrorNumber);
}
