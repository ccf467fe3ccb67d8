#pragma once

class RowStore;
class Statement;

// Steps the statement to its end and keeps its rows, each value typed by the declared type
// of the column it comes from (through a view, of the column the view reads), or by what is
// stored where the declaration says nothing or the value does not fit it.
void ReadRows(Statement& statement, RowStore& rows);
