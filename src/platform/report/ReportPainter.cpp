#include "platform/report/ReportPainter.h"

#include "platform/RuntimeError.h"
#include "platform/report/PdfJoin.h"

#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <QTextLayout>
#include <array>
#include <future>
#include <memory>
#include <system_error>
#include <utility>

namespace {

constexpr double kTwipsPerInch = 1440.0;
// A design line is one screen pixel wide.
constexpr double kLineWidthTwips = 15.0;

// The font at the device's resolution, as a painter on it would use it.
QFont FontOf(const ReportFont& font, QPaintDevice& device)
{
    QFont qfont(font.family);
    qfont.setPointSizeF(font.pointSize);
    qfont.setBold(font.bold);
    return QFont(qfont, &device);
}

QPageLayout PaperLayout(const ReportDesign& design)
{
    const QSizeF inches(design.paperWidth / kTwipsPerInch, design.paperHeight / kTwipsPerInch);
    return QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait, QMarginsF());
}

// Draws the pages of one report on one painter. A report repeats its texts (names, dates,
// amounts, captions) on every page: each is laid out into glyphs once, and only drawn again.
class PagePainter
{
public:
    explicit PagePainter(QPainter& painter) : m_painter(painter) {}

    void Paint(const ReportPage& page)
    {
        const QPaintDevice* device = m_painter.device();
        const double sx = device->logicalDpiX() / kTwipsPerInch;
        const double sy = device->logicalDpiY() / kTwipsPerInch;
        m_painter.setPen(QPen(Qt::black, std::max(1.0, kLineWidthTwips * sy)));
        for (const PlacedControl& placed : page.controls) {
            const ReportControl& control = *placed.control;
            if (control.kind == ReportControl::Kind::Line) {
                const double y = placed.top * sy;
                m_painter.drawLine(QPointF(placed.left * sx, y),
                                   QPointF((placed.left + control.width) * sx, y));
            } else if (!placed.text.isEmpty()) {
                LineOf(control, placed.text, control.width * sx)
                    .draw(&m_painter, QPointF(placed.left * sx, placed.top * sy));
            }
        }
    }

private:
    // The line that shows text in control's box, drawn from the box's top left corner. One
    // line: a text wider than its box ends in "…" a blank's width inside it, so that it never
    // runs into the next box and each reads, and copies, as itself.
    QTextLine LineOf(const ReportControl& control, const QString& text, double width)
    {
        const auto key = std::make_pair(&control, text);
        if (const auto found = m_laidOut.constFind(key); found != m_laidOut.constEnd())
            return (*found)->lineAt(0);
        // A report of many thousand records has as many different texts: the memory is
        // bounded, at the cost of laying some out again.
        if (m_laidOut.size() >= kMostTexts)
            m_laidOut.clear();
        const QFont font = FontOf(control.font, *m_painter.device());
        auto layout = LaidOut(text, font);
        if (layout->lineAt(0).horizontalAdvance() > width) {
            const QFontMetricsF metrics(font);
            const double room = width - metrics.horizontalAdvance(QLatin1Char(' '));
            layout = LaidOut(metrics.elidedText(text, Qt::ElideRight, room), font);
        }
        return (*m_laidOut.insert(key, std::move(layout)))->lineAt(0);
    }

    static std::shared_ptr<QTextLayout> LaidOut(const QString& text, const QFont& font)
    {
        auto layout = std::make_shared<QTextLayout>(text, font);
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::ManualWrap);
        layout->setTextOption(option);
        // Keeps the glyphs for the next time the text is drawn.
        layout->setCacheEnabled(true);
        layout->beginLayout();
        layout->createLine();
        layout->endLayout();
        return layout;
    }

    static constexpr qsizetype kMostTexts = 20000;
    QPainter& m_painter;
    QHash<std::pair<const ReportControl*, QString>, std::shared_ptr<QTextLayout>> m_laidOut;
};

} // namespace

void PaintPage(QPainter& painter, const ReportPage& page)
{
    PagePainter(painter).Paint(page);
}

void PrintPages(QPagedPaintDevice& device, const ReportLayout& layout, int first, int last)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError("The report cannot be printed: the printer could not be opened");
    PagePainter pages(painter);
    for (int index = first; index <= last; ++index) {
        if (index > first)
            device.newPage();
        pages.Paint(layout.Page(index));
    }
    if (!painter.end())
        throw RuntimeError("The report could not be printed to the end");
}

namespace {

// Splitting pays only when each half has enough pages to outweigh starting a thread and
// joining the files.
constexpr int kLeastPagesToSplit = 100;

RuntimeError CannotWrite(const QString& path, const QString& reason)
{
    return RuntimeError("The PDF file \"" + path + "\" cannot be written: " + reason);
}

void WritePdf(const ReportLayout& layout, const QString& path, int first, int last)
{
    QPdfWriter writer(path);
    writer.setCreator("Tarnwick");
    writer.setTitle(layout.Design().caption);
    writer.setPageLayout(PaperLayout(layout.Design()));
    PrintPages(writer, layout, first, last);
}

// Qt's PDF writer spends nearly all of an export on one core. A long report is painted in two
// halves at once, each into a temporary file by a thread of its own, and the halves are then
// joined. Each thread has its own painter and laid-out texts; the layout is only read.
void WriteInHalves(const ReportLayout& layout, const QString& path)
{
    std::array<QTemporaryFile, 2> halves;
    for (QTemporaryFile& half : halves) {
        if (!half.open())
            throw CannotWrite(path, half.errorString());
    }
    const int middle = layout.PageCount() / 2;
    std::future<void> second;
    try {
        second = std::async(std::launch::async, [&] {
            WritePdf(layout, halves[1].fileName(), middle, layout.PageCount() - 1);
        });
    } catch (const std::system_error&) {
        // A system out of threads still gets its file, painted on this one.
        return WritePdf(layout, path, 0, layout.PageCount() - 1);
    }
    WritePdf(layout, halves[0].fileName(), 0, middle - 1);
    second.get();
    try {
        JoinPdfs({halves[0].fileName(), halves[1].fileName()}, path);
    } catch (const std::exception& error) {
        throw CannotWrite(path, QString::fromLocal8Bit(error.what()));
    }
}

} // namespace

void ExportPdf(const ReportLayout& layout, const QString& path)
{
    {
        // QPdfWriter reports no failure to open its file; it is tested first.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw CannotWrite(path, file.errorString());
    }
    try {
        if (layout.PageCount() >= kLeastPagesToSplit)
            WriteInHalves(layout, path);
        else
            WritePdf(layout, path, 0, layout.PageCount() - 1);
    } catch (...) {
        // No half-written file is left behind.
        QFile::remove(path);
        throw;
    }
}

QImage RenderPage(const ReportLayout& layout, int index, double dotsPerInch)
{
    const ReportDesign& design = layout.Design();
    const double scale = dotsPerInch / kTwipsPerInch;
    QImage image(qRound(design.paperWidth * scale), qRound(design.paperHeight * scale),
                 QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintPage(painter, layout.Page(index));
    return image;
}
