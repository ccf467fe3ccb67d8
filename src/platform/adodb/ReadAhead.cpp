#include "platform/adodb/ReadAhead.h"

#include "platform/adodb/RowCursor.h"
#include "platform/adodb/RowStore.h"

ReadAhead::ReadAhead(RowCursor& cursor, int batchRows)
    : m_cursor(cursor), m_batchRows(batchRows), m_spare(std::make_unique<RowStore>())
{
    m_cursor.AddColumns(*m_spare);
    Begin();
}

ReadAhead::~ReadAhead()
{
    if (m_reading.valid())
        m_reading.wait();
}

void ReadAhead::Begin()
{
    m_reading = std::async(std::launch::async, [this] {
        // The batch passed is let go here too, off the thread that uses the rows.
        m_spare->ClearRows();
        const bool more = m_cursor.Read(*m_spare, m_batchRows);
        m_spare->MakeTexts();
        return more;
    });
}

bool ReadAhead::Next(std::unique_ptr<RowStore>& rows)
{
    if (m_failure)
        std::rethrow_exception(m_failure);
    bool more = false;
    try {
        more = m_reading.get();
    } catch (...) {
        m_failure = std::current_exception();
    }
    rows.swap(m_spare);
    if (m_failure)
        std::rethrow_exception(m_failure);
    if (more)
        Begin();
    return more;
}
