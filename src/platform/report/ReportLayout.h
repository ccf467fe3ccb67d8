#pragma once

#include "platform/RuntimeError.h"
#include "platform/report/ReportDesign.h"

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

// The pages of a report over the rows of a data source. Laying out reads the cells up to the
// first one that cannot be read and keeps none of them: a page's records are read from the
// source and formatted when the page is asked for, so a report of many thousand records holds
// no more than the source itself and one page.
//
// Paging: the report header opens the first page; the page header stands at the top of
// every page and the page footer at the bottom; one detail band per record follows in the
// data source's order and goes to the next page when it would reach into the page footer;
// the report footer follows the last detail, on a page of its own when it does not fit.
class ReportLayout
{
public:
    // Counts the rows of source; the design and the open source must outlive the layout,
    // which moves the source's current record. A text box bound to a column the source does
    // not have is a run-time error.
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
    // record is the source's 0-based row for the detail band, -1 outside it.
    void PlaceSection(ReportPage& page, const ReportSection& section, int top, int record) const;
    int DetailTop(int pageIndex) const;
    int FirstRecord(int pageIndex) const;

    const ReportDesign& m_design;
    Recordset& m_source;
    // Per text box of the detail, in the order of its controls, its column in the source.
    std::vector<int> m_fieldIndex;
    int m_recordCount = 0;
    std::optional<RuntimeError> m_cellError;
    int m_firstPageCapacity = 1;
    int m_pageCapacity = 1;
    int m_detailPages = 1;
    int m_pageCount = 1;
};
