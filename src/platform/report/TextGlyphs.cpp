#include "platform/report/TextGlyphs.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextLayout>
#include <algorithm>

namespace {

// Letters, digits, signs and blanks of the Latin, Greek and Cyrillic alphabets, which take one
// glyph each, left to right, and are never joined or reordered: no marks, and nothing of the
// "other" categories (controls, format characters, surrogates, private and unassigned ones).
bool IsPlainLetter(QChar c)
{
    switch (c.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
        return c.isPrint() && !c.isMark();
    default:
        return false;
    }
}

} // namespace

const TextGlyphs::Fonts& TextGlyphs::FontsOf(const ReportControl& control)
{
    if (const auto found = m_fonts.constFind(&control); found != m_fonts.constEnd())
        return *found;
    QFont font(control.font.family);
    font.setPointSizeF(control.font.pointSize);
    font.setBold(control.font.bold);
    const QFont onDevice(font, &m_device);
    return *m_fonts.insert(&control, Fonts{onDevice, QRawFont::fromFont(onDevice)});
}

// A text in plain letters that the font holds is placed glyph after glyph at their
// advances, which is what the toolkit's full shaping gives it at a fraction of the cost; any
// other text (other scripts, marks, letters from a fallback font) is shaped in full.
TextGlyphs::Shaped TextGlyphs::Shape(const QString& text, const Fonts& fonts)
{
    if (std::all_of(text.begin(), text.end(), IsPlainLetter)) {
        const QList<quint32> glyphs = fonts.raw.glyphIndexesForString(text);
        if (!glyphs.isEmpty() && !glyphs.contains(0)) {
            const QList<QPointF> advances =
                fonts.raw.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
            QList<QPointF> positions;
            positions.reserve(glyphs.size());
            QPointF pen(0, fonts.raw.ascent());
            for (const QPointF& advance : advances) {
                positions.append(pen);
                pen += advance;
            }
            QGlyphRun run;
            run.setRawFont(fonts.raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            return {{run}, pen.x()};
        }
    }
    QTextLayout layout(text, fonts.font);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::ManualWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return {layout.glyphRuns(), line.horizontalAdvance()};
}

QList<QGlyphRun> TextGlyphs::Line(const ReportControl& control, const QString& text, double width)
{
    const auto key = std::make_pair(&control, text);
    if (const auto found = m_shaped.constFind(key); found != m_shaped.constEnd())
        return *found;
    // A report of many thousand records has as many different texts: the memory is bounded,
    // at the cost of shaping some again.
    if (m_shaped.size() >= kMostTexts)
        m_shaped.clear();
    const Fonts& fonts = FontsOf(control);
    Shaped shaped = Shape(text, fonts);
    if (shaped.width > width) {
        const QFontMetricsF metrics(fonts.font);
        const double room = width - metrics.horizontalAdvance(QLatin1Char(' '));
        shaped = Shape(metrics.elidedText(text, Qt::ElideRight, room), fonts);
    }
    m_shaped.insert(key, shaped.runs);
    return shaped.runs;
}
