#pragma once

#include <QList>
#include <QString>

// The design of a banded report: paper, margins, bands and the controls on them. Every
// position and size is in twips; a control's Left and Top are relative to its band.

// How a text box turns its field's value into text. The date and money forms carry their
// own locale's separators in the pattern, so the program's locale plays no part in them.
struct DataFormat
{
    enum class Type { General, Date, Money };
    Type type = Type::General;
    // Date: a day/month/year pattern such as "dd.MM.yyyy". Money: digit places '#' and '0',
    // the group separator between them, ',' as the decimal separator and literal text in
    // double quotes, as in "#\u00A0##0,00\"р.\"".
    QString pattern;
};

struct ReportFont
{
    QString family = "Arial";
    double pointSize = 8.25;
    bool bold = false;
};

struct ReportControl
{
    enum class Kind { Label, TextBox, Line };
    Kind kind = Kind::Label;
    QString name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Labels: the caption, where "%p" stands for the page number and "%P" for the page count.
    QString caption;
    // Text boxes: the bound column of the data source and its format.
    QString dataField;
    DataFormat format;
    ReportFont font;
};

struct ReportSection
{
    QString name;
    int height = 0;
    QList<ReportControl> controls;
};

struct ReportDesign
{
    QString caption;
    // What an export is called, before the day it is made: "Assets 2026-12-08.pdf".
    QString documentName;
    // US Letter, as the design was made for.
    int paperWidth = 12240;
    int paperHeight = 15840;
    int reportWidth = 8640;
    int leftMargin = 1440;
    int rightMargin = 1440;
    int topMargin = 1440;
    int bottomMargin = 1440;
    ReportFont font;
    ReportSection reportHeader;
    ReportSection pageHeader;
    // Printed once per record of the data source, never split across two pages.
    ReportSection detail;
    ReportSection pageFooter;
    ReportSection reportFooter;
};
