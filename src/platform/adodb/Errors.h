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

// Refuses a text that holds a second statement after the first.
[[noreturn]] void RefuseSecondStatement(const QString& sql);
// Refuses to read with a statement that changes data.
[[noreturn]] void RefuseWritingQuery(const QString& sql);
// Refuses a statement text that holds the character NUL, where the engine would read only
// the part before it; `shownSql` is the text the refusal quotes.
void RefuseNul(const QString& text, const QString& shownSql);
