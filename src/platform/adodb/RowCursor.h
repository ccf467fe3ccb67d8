#pragma once

#include <memory>

class RowStore;

// The rows of one query as its engine gives them, read forward a batch at a time, so that a
// long result never has to be kept whole. Each engine has its own (SqliteRows, PgRows).
class RowCursor
{
public:
    virtual ~RowCursor() = default;

    // Gives `rows` its columns, before any row.
    virtual void AddColumns(RowStore& rows) = 0;
    // Adds up to `count` further rows to `rows`; false once the query has given every row,
    // when whatever the engine held for it is let go.
    virtual bool Read(RowStore& rows, int count) = 0;
    // A cursor over the same rows from the first again, exactly as this one gave them. Throws
    // RuntimeError when the database has changed since this one began, so that they could
    // come out otherwise.
    virtual std::unique_ptr<RowCursor> Again() = 0;
};
