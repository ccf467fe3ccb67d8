#pragma once

#include <exception>
#include <future>
#include <memory>

class RowCursor;
class RowStore;

// Reads a long result's next batch of rows on a thread of its own while the caller works
// through the batch it has, so that reading the rows and using them share two cores. Only
// one batch is read ahead, into a store kept for it, so memory stays at two batches.
class ReadAhead
{
public:
    ReadAhead(RowCursor& cursor, int batchRows);
    // Waits for a read under way.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Puts the next batch in place of `rows` and begins reading the one after it; false once
    // the cursor has given its last row. A read that failed gives the rows it read before the
    // failure, then throws what it threw, now and at every later call.
    bool Next(std::unique_ptr<RowStore>& rows);

private:
    void Begin();

    RowCursor& m_cursor;
    const int m_batchRows;
    std::unique_ptr<RowStore> m_spare; // the batch being read, or read and waiting
    std::future<bool> m_reading;
    std::exception_ptr m_failure;
};
