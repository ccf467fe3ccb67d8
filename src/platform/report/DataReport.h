#pragma once

#include "platform/report/ReportDesign.h"

#include <functional>
#include <memory>

class QWidget;
class Recordset;
class RuntimeError;
class ReportLayout;

// A banded report bound to a recordset, as a report design of the platform's report
// component is used: set its data source, then show it in its preview window.
class DataReport
{
public:
    explicit DataReport(ReportDesign design);
    virtual ~DataReport();
    DataReport(const DataReport&) = delete;
    DataReport& operator=(const DataReport&) = delete;

    // "Set DataSource": the recordset must be open; the report reads it when it is shown
    // and does not own it.
    void SetDataSource(Recordset* source);
    Recordset* DataSource() const { return m_source; }
    const ReportDesign& Design() const { return m_design; }

    // Reads the data source from its first row into pages.
    std::unique_ptr<ReportLayout> Layout() const;
    // "Show vbModal": lays the report out and shows its preview modally over owner; returns
    // when the preview has closed. A cell that cannot be read shows empty; the first such
    // cell's error goes to reportCellError once, before the preview opens.
    void Show(QWidget* owner, const std::function<void(const RuntimeError&)>& reportCellError);

private:
    ReportDesign m_design;
    Recordset* m_source = nullptr;
};
