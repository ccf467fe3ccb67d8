#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <xlsxwriter.h>

// One cell as the library takes it, made ready on the exporting thread.
struct XlsxCell
{
    enum class Kind : std::uint8_t { Number, Date, Text, Boolean };
    lxw_format* format = nullptr;
    union {
        // Number and Boolean.
        double number;
        lxw_datetime date;
        // Text: where its UTF-8, ended by a NUL, begins in the batch's texts.
        std::size_t text;
    };
    lxw_row_t row = 0;
    lxw_col_t column = 0;
    Kind kind = Kind::Number;
};

// Cells of some rows, in the order the sheet takes them.
struct XlsxBatch
{
    std::vector<XlsxCell> cells;
    std::string texts;
};

// A worksheet whose cells the library writes on a thread of its own, while the exporting
// thread reads and converts the next rows and the other sheets are written on theirs. In
// constant-memory mode the worksheets of a workbook share nothing that writing a cell
// changes, once every format's index is fixed (lxw_format_get_xf_index) before the first
// cell; the workbook itself is touched only before the threads start and after they end.
class XlsxSheet
{
public:
    explicit XlsxSheet(lxw_worksheet* sheet);
    // Stops writing: the rows still waiting are dropped.
    ~XlsxSheet();
    XlsxSheet(const XlsxSheet&) = delete;
    XlsxSheet& operator=(const XlsxSheet&) = delete;

    // Hands the batch over and gives back an empty one that keeps the room a written batch
    // took; waits while the sheet is several batches behind, so that the rows in flight
    // take little memory.
    void Write(XlsxBatch& batch);
    // Waits until every batch is written; the first error the library gave, if any.
    lxw_error Finish();
    lxw_worksheet* Worksheet() const { return m_sheet; }

private:
    void Run();
    lxw_error WriteBatch(const XlsxBatch& batch) const;

    lxw_worksheet* m_sheet;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<XlsxBatch> m_waiting;
    std::vector<XlsxBatch> m_written;
    bool m_closed = false;
    // Set by the thread only; read once it has ended.
    lxw_error m_error = LXW_NO_ERROR;
    std::thread m_thread;
};
