#include "exchange/XlsxSheet.h"

namespace {

// Batches handed over and not yet written, at most: some twenty megabytes of a sheet's
// rows, so that the exporting thread is done with a long sheet well before its writer and
// goes on with the next sheets meanwhile.
constexpr std::size_t kWaitingBatches = 64;

} // namespace

XlsxSheet::XlsxSheet(lxw_worksheet* sheet) : m_sheet(sheet), m_thread([this] { Run(); }) {}

XlsxSheet::~XlsxSheet()
{
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.clear();
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void XlsxSheet::Write(XlsxBatch& batch)
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting.size() < kWaitingBatches; });
        m_waiting.push_back(std::move(batch));
        batch = XlsxBatch();
        if (!m_written.empty()) {
            batch = std::move(m_written.back());
            m_written.pop_back();
        }
    }
    m_changed.notify_all();
}

lxw_error XlsxSheet::Finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    return m_error;
}

void XlsxSheet::Run()
{
    for (;;) {
        XlsxBatch batch;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_waiting.empty() || m_closed; });
            if (m_waiting.empty())
                return;
            batch = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        m_changed.notify_all();
        // After an error the rest is only taken off the queue: the workbook is given up.
        if (m_error == LXW_NO_ERROR)
            m_error = WriteBatch(batch);
        batch.cells.clear();
        batch.texts.clear();
        const std::lock_guard lock(m_mutex);
        m_written.push_back(std::move(batch));
    }
}

lxw_error XlsxSheet::WriteBatch(const XlsxBatch& batch) const
{
    for (const XlsxCell& cell : batch.cells) {
        lxw_error error = LXW_NO_ERROR;
        switch (cell.kind) {
        case XlsxCell::Kind::Number:
            error =
                worksheet_write_number(m_sheet, cell.row, cell.column, cell.number, cell.format);
            break;
        case XlsxCell::Kind::Date: {
            lxw_datetime date = cell.date;
            error = worksheet_write_datetime(m_sheet, cell.row, cell.column, &date, cell.format);
            break;
        }
        case XlsxCell::Kind::Text:
            error = worksheet_write_string(m_sheet, cell.row, cell.column,
                                           batch.texts.data() + cell.text, cell.format);
            break;
        case XlsxCell::Kind::Boolean:
            error = worksheet_write_boolean(m_sheet, cell.row, cell.column, int(cell.number),
                                            cell.format);
            break;
        }
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}
