#pragma once

#include "platform/report/ReportDesign.h"

#include <QStringList>
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

// The pages of a report over the rows of a data source. Reading the rows is the only pass
// over the data; a page's controls are placed when the page is asked for, so a report of
// many thousand records costs little until its pages are drawn.
//
// Paging: the report header opens the first page; the page header stands at the top of
// every page and the page footer at the bottom; one detail band per record follows in the
// data source's order and goes to the next page when it would reach into the page footer;
// the report footer follows the last detail, on a page of its own when it does not fit.
class ReportLayout
{
public:
    // Reads every row of source from the first; the design must outlive the layout. A
    // text box bound to a column the source does not have is a run-time error.
    ReportLayout(const ReportDesign& design, Recordset& source);

    int PageCount() const { return m_pageCount; }
    int RecordCount() const { return static_cast<int>(m_rows.size()); }
    // index 0-based, below PageCount().
    ReportPage Page(int index) const;
    const ReportDesign& Design() const { return m_design; }

private:
    void PlanPages();
    void PlaceSection(ReportPage& page, const ReportSection& section, int top,
                      const QStringList* row) const;
    int DetailTop(int pageIndex) const;
    int FirstRecord(int pageIndex) const;

    const ReportDesign& m_design;
    // Per record, the texts of the detail's text boxes in the order of its controls.
    std::vector<QStringList> m_rows;
    int m_firstPageCapacity = 1;
    int m_pageCapacity = 1;
    int m_detailPages = 1;
    int m_pageCount = 1;
};
