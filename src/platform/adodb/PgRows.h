#pragma once

#include <QByteArray>
#include <functional>
#include <libpq-fe.h>

class RowStore;

// Keeps the rows of a query's result (in libpq's text form), each value typed by the type of
// its result column: whole numbers, numeric(19,4) as exact currency and other numbers as
// doubles, dates and timestamps as dates (a time of midnight reads as a date without a
// time), booleans, and texts.
void ReadRows(const PGresult* result, RowStore& rows);

// Writes the rows in the text form of COPY … FROM STDIN, in their column order, handing it
// on in pieces of about a megabyte.
void WriteCopyText(const RowStore& rows, const std::function<void(const QByteArray&)>& write);
