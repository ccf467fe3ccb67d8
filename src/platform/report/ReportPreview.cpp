#include "platform/report/ReportPreview.h"

#include "platform/RuntimeError.h"
#include "platform/os/Clock.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/ScreenRoom.h"
#include "platform/ui/Twips.h"

#include <QFileDialog>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QToolBar>
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
    // The page's width and its tools, as much of the page's height as the screen it opens on
    // (its owner's) has room for.
    const QSize wanted(TwipsToPixels(m_layout->Design().paperWidth) + 60, 800);
    resize(wanted.boundedTo(ScreenRoom(owner ? *owner : *this)));
    Refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::BuildControls()
{
    // A tool bar, so that on a narrow screen the commands that do not fit are reached through
    // its extension button.
    auto* bar = new QToolBar(this);
    bar->setObjectName("PreviewCommands");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto command = [&](const QString& name, const QString& caption, auto handler) {
        QAction* action = bar->addAction(caption, this, handler);
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(name);
        button->setAccessibleName(caption);
    };
    command("FirstPage", "First", [this] { ShowPage(0); });
    command("PreviousPage", "Previous", [this] { ShowPage(m_page - 1); });
    m_pageNumber = new QLabel(this);
    m_pageNumber->setObjectName("PageNumber");
    bar->addWidget(m_pageNumber);
    command("NextPage", "Next", [this] { ShowPage(m_page + 1); });
    command("LastPage", "Last", [this] { ShowPage(m_layout->PageCount() - 1); });
    command("ZoomOut", "Zoom Out", [this] { ZoomOut(); });
    command("ZoomIn", "Zoom In", [this] { ZoomIn(); });
    command("Print", "Print...", [this] { Print(); });
    command("ExportPdf", "Export to PDF...", [this] { ChooseAndExport(); });

    m_pageView = new QLabel;
    m_pageView->setObjectName("PageView");
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName("PageArea");
    m_scroll->setWidget(m_pageView);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* column = new QVBoxLayout(this);
    column->addWidget(bar);
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
    // The screen's resolution is 1440 twips over the twips a pixel covers; on a screen of more
    // device pixels than logical ones the page is drawn in device pixels, so it stays sharp.
    const double ratio = devicePixelRatioF();
    const double dotsPerInch = 1440.0 / TwipsPerPixel() * Zoom() / 100.0 * ratio;
    QPixmap page = QPixmap::fromImage(RenderPage(*m_layout, m_page, dotsPerInch));
    page.setDevicePixelRatio(ratio);
    m_pageView->setPixmap(page);
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
    const ReportDesign& design = m_layout->Design();
    const QString name = (design.documentName.isEmpty() ? design.caption : design.documentName) +
                         ' ' + Today().toString(Qt::ISODate) + ".pdf";
    const QString path =
        QFileDialog::getSaveFileName(this, "Export to PDF", name, "PDF documents (*.pdf)");
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
