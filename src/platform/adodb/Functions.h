#pragma once

struct sqlite3;

// Registers the statement functions the program's SQL uses: CCur(text or number), the
// currency conversion of the system's locale, rounded to ten-thousandths; the aggregates
// First(x) and Last(x), the value of the first and the last row in the order the rows are
// read; and the collation kTextOrder, text as the program sorts it (TextCollator). Throws
// RuntimeError when the engine refuses one.
void RegisterDialectFunctions(sqlite3* db);

inline constexpr char kTextOrder[] = "TEXTORDER";
