#pragma once

#include "platform/adodb/Schema.h"

#include <QString>

class Tokens;

enum class SqlDialect { Sqlite, Postgres };

// Rewrites the program's statement text into SQL that the engine runs with the same meaning.
// For both engines:
// - "+" with a text operand (a 'string' or a column declared as text) concatenates, null
//   giving null, as "LastName+', '+FirstName" needs;
// - a 'date text' that an INSERT or UPDATE stores into a date column is read with the
//   system's date conversion and stored as ISO 8601 ('2021-03-15', with " HH:mm:ss" when a
//   time is given), so dates sort and compare as dates; a text that is no date throws
//   RuntimeError naming the column and the text;
// - "order by" a text column orders as the program sorts text, by the engine's collation
//   `textOrder` (kTextOrder on SQLite, an ICU collation of the program's locale on a server).
// For SQLite, a query using First or Last reads its tables in stored order (the order of
// their keys), never through an index, and a closing FOR UPDATE is dropped; bracketed names,
// CCur, Count and null need no rewriting. For PostgreSQL, see FinishForPostgres.
QString RewriteStatement(const QString& sql, const Schema& schema, SqlDialect dialect,
                         const QString& textOrder);

// The last step for PostgreSQL:
// - every [bracketed] or "quoted" name, and every word that names a table, view or column of
//   the schema, becomes a quoted name spelled as the schema spells it, so that names keep
//   their letter case and blanks ("Asset Categories") and a recordset's fields are named as
//   on SQLite;
// - CCur('text'), CCur(number) and CCur(null) become the amount itself, converted here with
//   the program's locale as SQLite's registered CCur converts it; CCur of anything else is
//   refused;
// - First(x) and Last(x) give x of the row with the lowest and the highest key of the table
//   the query reads;
// - a text with a second statement after the first is refused, as SQLite refuses it.
// `sql` is the program's own text, which refusals quote.
void FinishForPostgres(Tokens& tokens, const Schema& schema, const QString& sql);

// A name as PostgreSQL quotes it: "Asset Categories", with inner quotes doubled.
QString QuotedName(QString name);

// Whether the statement only reads: a SELECT that stores nothing (no SELECT … INTO).
bool IsQuery(const QString& sql);
