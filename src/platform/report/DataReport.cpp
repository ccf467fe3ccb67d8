#include "platform/report/DataReport.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/Modal.h"

DataReport::DataReport(ReportDesign design) : m_design(std::move(design)) {}

DataReport::~DataReport() = default;

void DataReport::SetDataSource(Recordset* source)
{
    if (!source || !source->IsOpen())
        throw RuntimeError("The report's data source must be an open recordset");
    m_source = source;
}

std::unique_ptr<ReportLayout> DataReport::Layout() const
{
    // The source may have been closed since it was bound.
    if (!m_source || !m_source->IsOpen())
        throw RuntimeError("The report has no open data source");
    return std::make_unique<ReportLayout>(m_design, *m_source);
}

void DataReport::Show(QWidget* owner,
                      const std::function<void(const RuntimeError&)>& reportCellError)
{
    std::unique_ptr<ReportLayout> layout = Layout();
    if (layout->CellError())
        reportCellError(*layout->CellError());
    ReportPreview preview(std::move(layout), owner);
    ShowModal(preview, owner);
}
