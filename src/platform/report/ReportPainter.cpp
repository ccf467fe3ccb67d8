#include "platform/report/ReportPainter.h"

#include "platform/RuntimeError.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <optional>

namespace {

constexpr double kTwipsPerInch = 1440.0;
// A design line is one screen pixel wide.
constexpr double kLineWidthTwips = 15.0;

QFont FontOf(const ReportFont& font)
{
    QFont qfont(font.family);
    qfont.setPointSizeF(font.pointSize);
    qfont.setBold(font.bold);
    return qfont;
}

QPageLayout PaperLayout(const ReportDesign& design)
{
    const QSizeF inches(design.paperWidth / kTwipsPerInch, design.paperHeight / kTwipsPerInch);
    return QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait, QMarginsF());
}

} // namespace

void PaintPage(QPainter& painter, const ReportPage& page)
{
    const QPaintDevice* device = painter.device();
    const double sx = device->logicalDpiX() / kTwipsPerInch;
    const double sy = device->logicalDpiY() / kTwipsPerInch;
    painter.setPen(QPen(Qt::black, std::max(1.0, kLineWidthTwips * sy)));
    // Most controls share a font: it is only set again when it changes.
    const ReportFont* current = nullptr;
    std::optional<QFontMetricsF> metrics;
    for (const PlacedControl& placed : page.controls) {
        const ReportControl& control = *placed.control;
        if (control.kind == ReportControl::Kind::Line) {
            const double y = placed.top * sy;
            painter.drawLine(QPointF(placed.left * sx, y),
                             QPointF((placed.left + control.width) * sx, y));
            continue;
        }
        if (placed.text.isEmpty())
            continue;
        if (!current || current->bold != control.font.bold ||
            current->pointSize != control.font.pointSize ||
            current->family != control.font.family) {
            painter.setFont(FontOf(control.font));
            current = &control.font;
            metrics.emplace(painter.font(), device);
        }
        const QRectF box(placed.left * sx, placed.top * sy, control.width * sx,
                         control.height * sy);
        // One line. A text wider than its box ends in "…" a blank's width inside it, so that
        // it never runs into the next box and each reads, and copies, as itself.
        const bool fits = metrics->horizontalAdvance(placed.text) <= box.width();
        const double room = box.width() - metrics->horizontalAdvance(QLatin1Char(' '));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         fits ? placed.text
                              : metrics->elidedText(placed.text, Qt::ElideRight, room));
    }
}

void PrintPages(QPagedPaintDevice& device, const ReportLayout& layout, int first, int last)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError("The report cannot be printed: the printer could not be opened");
    for (int index = first; index <= last; ++index) {
        if (index > first)
            device.newPage();
        PaintPage(painter, layout.Page(index));
    }
    if (!painter.end())
        throw RuntimeError("The report could not be printed to the end");
}

void ExportPdf(const ReportLayout& layout, const QString& path)
{
    {
        // QPdfWriter reports no failure to open its file; it is tested first.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            throw RuntimeError("The PDF file \"" + path +
                               "\" cannot be written: " + file.errorString());
        }
    }
    QPdfWriter writer(path);
    writer.setCreator("Tarnwick");
    writer.setTitle(layout.Design().caption);
    writer.setPageLayout(PaperLayout(layout.Design()));
    PrintPages(writer, layout, 0, layout.PageCount() - 1);
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
