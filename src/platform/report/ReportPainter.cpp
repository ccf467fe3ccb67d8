#include "platform/report/ReportPainter.h"

#include "platform/RuntimeError.h"
#include "platform/report/PdfJoin.h"
#include "platform/report/TextGlyphs.h"

#include <QFile>
#include <QGlyphRun>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTemporaryFile>
#include <array>
#include <future>
#include <system_error>

namespace {

constexpr double kTwipsPerInch = 1440.0;
// A design line is one screen pixel wide.
constexpr double kLineWidthTwips = 15.0;

QPageLayout PaperLayout(const ReportDesign& design)
{
    const QSizeF inches(design.paperWidth / kTwipsPerInch, design.paperHeight / kTwipsPerInch);
    return QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait, QMarginsF());
}

// Draws the pages of one report on one painter. Texts that follow each other in one font are
// drawn as one run of glyphs: a PDF writer then starts one text object for them, not one for
// each box. The page is drawn in the order of its controls, which is the order in which a
// reader of the PDF copies its text.
class PagePainter
{
public:
    explicit PagePainter(QPainter& painter) : m_painter(painter), m_texts(*painter.device()) {}

    void Paint(const ReportPage& page)
    {
        const QPaintDevice* device = m_painter.device();
        const double sx = device->logicalDpiX() / kTwipsPerInch;
        const double sy = device->logicalDpiY() / kTwipsPerInch;
        m_painter.setPen(QPen(Qt::black, std::max(1.0, kLineWidthTwips * sy)));
        for (const PlacedControl& placed : page.controls) {
            const ReportControl& control = *placed.control;
            const QPointF corner(placed.left * sx, placed.top * sy);
            if (control.kind == ReportControl::Kind::Line) {
                DrawGlyphs();
                m_painter.drawLine(corner, QPointF((placed.left + control.width) * sx, corner.y()));
            } else if (!placed.text.isEmpty()) {
                for (const QGlyphRun& run : m_texts.Line(control, placed.text, control.width * sx))
                    AddGlyphs(corner, run);
            }
        }
        DrawGlyphs();
    }

private:
    void AddGlyphs(QPointF corner, const QGlyphRun& run)
    {
        if (run.rawFont() != m_font) {
            DrawGlyphs();
            m_font = run.rawFont();
        }
        m_glyphs.append(run.glyphIndexes());
        for (const QPointF& at : run.positions())
            m_positions.append(corner + at);
    }

    void DrawGlyphs()
    {
        if (m_glyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_font);
        run.setGlyphIndexes(m_glyphs);
        run.setPositions(m_positions);
        m_painter.drawGlyphRun(QPointF(), run);
        m_glyphs.clear();
        m_positions.clear();
    }

    QPainter& m_painter;
    TextGlyphs m_texts;
    // The glyphs added and not yet drawn, all in m_font, placed on the page.
    QRawFont m_font;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
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
