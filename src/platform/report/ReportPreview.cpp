#include "platform/report/ReportPreview.h"

#include "platform/RuntimeError.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/Twips.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr std::array<int, 7> kZoomSteps = {50, 75, 100, 125, 150, 200, 300};
constexpr int kStartZoomStep = 2;

} // namespace

ReportPreview::ReportPreview(std::unique_ptr<ReportLayout> layout, QWidget* owner)
    : QDialog(owner), m_layout(std::move(layout)), m_zoomStep(kStartZoomStep)
{
    setObjectName("ReportPreview");
    setWindowTitle(m_layout->Design().caption);
    BuildControls();
    resize(TwipsToPixels(m_layout->Design().paperWidth) + 60, 800);
    Refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::BuildControls()
{
    auto* bar = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption, auto handler) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAccessibleName(caption);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        bar->addWidget(b);
    };
    button("FirstPage", "First", [this] { ShowPage(0); });
    button("PreviousPage", "Previous", [this] { ShowPage(m_page - 1); });
    m_pageNumber = new QLabel(this);
    m_pageNumber->setObjectName("PageNumber");
    bar->addWidget(m_pageNumber);
    button("NextPage", "Next", [this] { ShowPage(m_page + 1); });
    button("LastPage", "Last", [this] { ShowPage(m_layout->PageCount() - 1); });
    button("ZoomOut", "Zoom Out", [this] { ZoomOut(); });
    button("ZoomIn", "Zoom In", [this] { ZoomIn(); });
    button("Print", "Print...", [this] { Print(); });
    button("ExportPdf", "Export to PDF...", [this] { ChooseAndExport(); });
    bar->addStretch();

    m_pageView = new QLabel;
    m_pageView->setObjectName("PageView");
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName("PageArea");
    m_scroll->setWidget(m_pageView);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(m_scroll);
}

int ReportPreview::Zoom() const
{
    return kZoomSteps[static_cast<std::size_t>(m_zoomStep)];
}

void ReportPreview::ShowPage(int index)
{
    m_page = std::clamp(index, 0, m_layout->PageCount() - 1);
    Refresh();
}

void ReportPreview::ZoomIn()
{
    m_zoomStep = std::min(m_zoomStep + 1, static_cast<int>(kZoomSteps.size()) - 1);
    Refresh();
}

void ReportPreview::ZoomOut()
{
    m_zoomStep = std::max(m_zoomStep - 1, 0);
    Refresh();
}

void ReportPreview::Refresh()
{
    // The screen's resolution is 1440 twips over the twips a pixel covers.
    const double dotsPerInch = 1440.0 / TwipsPerPixel() * Zoom() / 100.0;
    m_pageView->setPixmap(QPixmap::fromImage(RenderPage(*m_layout, m_page, dotsPerInch)));
    m_pageView->adjustSize();
    m_pageNumber->setText(QString("Page %1 of %2").arg(m_page + 1).arg(m_layout->PageCount()));
}

bool ReportPreview::ExportPdf(const QString& path)
{
    try {
        ::ExportPdf(*m_layout, path);
        return true;
    } catch (const RuntimeError& error) {
        MsgBox(error.Description(), BoxButtons::OK, BoxIcon::Exclamation, windowTitle());
        return false;
    }
}

void ReportPreview::ChooseAndExport()
{
    const QString path = QFileDialog::getSaveFileName(this, "Export to PDF", windowTitle() + ".pdf",
                                                      "PDF documents (*.pdf)");
    if (!path.isEmpty())
        ExportPdf(path);
}

void ReportPreview::Print()
{
    const ReportDesign& design = m_layout->Design();
    QPrinter printer(QPrinter::HighResolution);
    // The design's margins are on the page already: the printer adds none of its own.
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QSizeF(design.paperWidth / 1440.0, design.paperHeight / 1440.0),
                                  QPageSize::Inch));
    printer.setPageMargins(QMarginsF());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, m_layout->PageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    int first = 0;
    int last = m_layout->PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange) {
        first = std::clamp(printer.fromPage() - 1, 0, last);
        last = std::clamp(printer.toPage() - 1, first, last);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = m_page;
    }
    try {
        PrintPages(printer, *m_layout, first, last);
    } catch (const RuntimeError& error) {
        MsgBox(error.Description(), BoxButtons::OK, BoxIcon::Exclamation, windowTitle());
    }
}
