#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QScrollArea;
class ReportLayout;

// The report's preview window: one page at a time at a chosen zoom, page navigation,
// printing on the platform's print dialog and export of the same pages to a PDF file. Only
// the page shown is drawn.
class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    ReportPreview(std::unique_ptr<ReportLayout> layout, QWidget* owner = nullptr);
    ~ReportPreview() override;

    const ReportLayout& Layout() const { return *m_layout; }
    int CurrentPage() const { return m_page; } // 0-based
    // Percent of the paper's real size on the screen.
    int Zoom() const;

    void ShowPage(int index);
    void ZoomIn();
    void ZoomOut();
    // Writes every page to path; a failure is shown in a message box.
    bool ExportPdf(const QString& path);

private:
    void BuildControls();
    void Print();
    void ChooseAndExport();
    void Refresh();

    std::unique_ptr<ReportLayout> m_layout;
    int m_page = 0;
    int m_zoomStep;
    QLabel* m_pageView = nullptr;
    QLabel* m_pageNumber = nullptr;
    QScrollArea* m_scroll = nullptr;
};
