#pragma once

#include <QString>

// The numbers that the data-access layer's run-time errors carry, as the original provider
// numbered them.

// Opening failed: no such file, not a database, an unknown provider, no server answering.
constexpr long kProviderErrorNumber = -2147467259;
// A statement was refused or failed.
constexpr long kStatementErrorNumber = -2147217900;
// The server did not accept the user: a wrong password, or none where one is needed.
constexpr long kLoginFailedNumber = -2147217843;

// A statement as a description quotes it: its first 300 characters, enough to know it, never
// a page of typed text (a long description in an insert).
QString QuotedStatement(const QString& sql);
// "<description> in the statement: <sql>"
[[noreturn]] void ThrowStatementError(const QString& description, const QString& sql);

// Refuses a text that holds no statement.
[[noreturn]] void RefuseEmptyStatement(const QString& sql);
// Refuses a text that holds a second statement after the first.
[[noreturn]] void RefuseSecondStatement(const QString& sql);
// Refuses to read with a statement that changes data.
[[noreturn]] void RefuseWritingQuery(const QString& sql);
// Refuses a statement text that holds the character NUL, where the engine would read only
// the part before it; `shownSql` is the text the refusal quotes.
void RefuseNul(const QString& text, const QString& shownSql);
