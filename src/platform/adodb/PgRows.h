#pragma once

#include "platform/adodb/RowCursor.h"

#include <QByteArray>
#include <functional>
#include <libpq-fe.h>
#include <memory>
#include <vector>

class RowStore;

// The rows of a query's result (in libpq's text form, which the result holds whole), each
// value typed by the type of its result column: whole numbers, numeric(19,4) as exact
// currency and other numbers as doubles, dates and timestamps as dates (a time of midnight
// reads as a date without a time), booleans, and texts.
class PgCursor final : public RowCursor
{
public:
    explicit PgCursor(std::shared_ptr<const PGresult> result);

    void AddColumns(RowStore& rows) override;
    bool Read(RowStore& rows, int count) override;
    // The same result from its first row: it never changes.
    std::unique_ptr<RowCursor> Again() override;

    enum class Kind { Long, Double, Currency, Date, Boolean, Text };

private:
    std::shared_ptr<const PGresult> m_result;
    std::vector<Kind> m_kinds;
    int m_row = 0;
};

// Writes the rows in the text form of COPY … FROM STDIN, in their column order, handing it
// on in pieces of about a megabyte.
void WriteCopyText(const RowStore& rows, const std::function<void(const QByteArray&)>& write);
