#pragma once

#include "platform/adodb/Functions.h"
#include "platform/adodb/Schema.h"

#include <QString>

// Rewrites the program's statement text into SQL that SQLite runs with the same meaning:
// - "+" with a text operand (a 'string' or a column declared as text) concatenates, null
//   giving null, as "LastName+', '+FirstName" needs;
// - a 'date text' that an INSERT or UPDATE stores into a date column is read with the
//   system's date conversion and stored as ISO 8601 ('2021-03-15', with " HH:mm:ss" when a
//   time is given), so dates sort and compare as dates; a text that is no date throws
//   RuntimeError naming the column and the text;
// - a query using First or Last reads its tables in stored order, never through an index;
// - "order by" a text column orders as the program sorts text (collation kTextOrder).
// Bracketed names, CCur, Count and null need no rewriting.
QString RewriteStatement(const QString& sql, const Schema& schema);
