#pragma once

#include "platform/RuntimeError.h"
#include "platform/report/ReportDesign.h"
#include "platform/value/Variant.h"

#include <optional>
#include <vector>

class Recordset;

// A control placed on a page: its position from the paper's top left corner, in twips, and
// the text it shows (labels: the caption with the page numbers put in; text boxes: the
// formatted value; lines: nothing).
struct PlacedControl
{
    const ReportControl* control = nullptr;
    int left = 0;
    int top = 0;
    QString text;
};

struct ReportPage
{
    int number = 0; // 1-based
    QList<PlacedControl> controls;
};

// The pages of a report over the rows of a data source. Laying out reads the source once,
// from the first row to the last, and keeps the values its text boxes show (no more of a long
// text than a box could show); a page's texts are formatted when the page is asked for, so a
// report of many thousand records costs little until its pages are drawn, and the source need
// not keep its rows.
//
// Paging: the report header opens the first page; the page header stands at the top of
// every page and the page footer at the bottom; one detail band per record follows in the
// data source's order and goes to the next page when it would reach into the page footer;
// the report footer follows the last detail, on a page of its own when it does not fit.
class ReportLayout
{
public:
    // Reads the rows of source from the first to the last; the design must outlive the
    // layout. A text box bound to a column the source does not have is a run-time error.
    ReportLayout(const ReportDesign& design, Recordset& source);

    int PageCount() const { return m_pageCount; }
    int RecordCount() const { return m_recordCount; }
    // index 0-based, below PageCount(). A cell that cannot be read shows nothing.
    ReportPage Page(int index) const;
    const ReportDesign& Design() const { return m_design; }
    // The first cell that could not be read (an amount beyond the currency range), to report
    // once; none when every cell could.
    const std::optional<RuntimeError>& CellError() const { return m_cellError; }

private:
    void PlanPages();
    // record is the 0-based record for the detail band, -1 outside it.
    void PlaceSection(ReportPage& page, const ReportSection& section, int top, int record) const;
    int DetailTop(int pageIndex) const;
    int FirstRecord(int pageIndex) const;

    const ReportDesign& m_design;
    // Per text box of the detail, in the order of its controls, its column in the source.
    std::vector<int> m_fieldIndex;
    // Per record, the values of the detail's text boxes in the order of m_fieldIndex (long
    // texts cut to what a box could ever show); empty for a cell that could not be read.
    std::vector<Variant> m_values;
    int m_recordCount = 0;
    std::optional<RuntimeError> m_cellError;
    int m_firstPageCapacity = 1;
    int m_pageCapacity = 1;
    int m_detailPages = 1;
    int m_pageCount = 1;
};
