#pragma once

#include "platform/report/ReportDesign.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QString>
#include <utility>

class QPaintDevice;

// The glyphs that show the report's texts on one device, each text in one line from its box's
// top left corner. A report repeats its texts (names, dates, amounts, captions) on every page:
// each is shaped once, and only drawn again.
class TextGlyphs
{
public:
    explicit TextGlyphs(QPaintDevice& device) : m_device(device) {}

    // A text wider than its box (width in device units) ends in "…" a blank's width inside
    // it, so that it never runs into the next box and each reads, and copies, as itself.
    QList<QGlyphRun> Line(const ReportControl& control, const QString& text, double width);

private:
    // A control's font as the device's painter uses it, and its glyphs and their advances.
    struct Fonts
    {
        QFont font;
        QRawFont raw;
    };
    struct Shaped
    {
        QList<QGlyphRun> runs;
        double width = 0;
    };

    const Fonts& FontsOf(const ReportControl& control);
    static Shaped Shape(const QString& text, const Fonts& fonts);

    static constexpr qsizetype kMostTexts = 20000;
    QPaintDevice& m_device;
    QHash<const ReportControl*, Fonts> m_fonts;
    QHash<std::pair<const ReportControl*, QString>, QList<QGlyphRun>> m_shaped;
};
