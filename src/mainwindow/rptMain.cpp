#include "mainwindow/rptMain.h"

#include <array>

namespace {

// One column of the report: its caption in the page header and its field in the detail
// band, at the same row and place.
struct ReportColumn
{
    const char* label;
    const char* caption;
    int labelWidth;
    const char* textBox;
    const char* field;
    int textBoxWidth;
    int top;
    int left;
    DataFormat::Type format;
};

constexpr int kRowHeight = 240;

using F = DataFormat::Type;
// clang-format off
constexpr std::array<ReportColumn, 19> kColumns = {{
    {"Label2", "Asset ID", 700, "Text1", "AssetID", 700, 0, 0, F::General},
    {"Label3", "Employee", 1568, "Text2", "Employee", 1568, 0, 700, F::General},
    {"Label4", "Vendor Name", 1134, "Text7", "VendorName", 1134, 0, 2268, F::General},
    {"Label6", "Asset Category", 1701, "Text4", "AssetCategory", 1710, 0, 3401, F::General},
    {"Label7", "Status", 1140, "Text5", "Status", 1140, 0, 5102, F::General},
    {"Label1", "Department Name", 1701, "Text3", "DepartmentName", 1701, 0, 6236, F::General},
    {"Label5", "Next Maintenance", 1824, "Text6", "NextSchedMaint", 1701, 270, 567, F::Date},
    {"Label8", "Asset Description", 1701, "Text8", "AssetDescription", 1701, 270, 2268, F::General},
    {"Label9", "Date Acquired", 1710, "Text11", "DateAcquired", 1700, 270, 3969, F::Date},
    {"Label10", "Date Sold", 1125, "Text9", "DateSold", 1140, 270, 5669, F::Date},
    {"Label11", "Model Number", 1695, "Text10", "ModelNumber", 1140, 270, 6803, F::General},
    {"Label12", "Serial Number", 1701, "Text12", "SerialNumber", 1695, 567, 567, F::General},
    {"Label13", "Barcode Number", 1695, "Text13", "BarcodeNumber", 1695, 567, 2268, F::General},
    {"Label14", "Purchase Price", 1695, "Text14", "PurchasePrice", 1695, 567, 3969, F::Money},
    {"Label15", "Current Value", 1695, "Text15", "CurrentValue", 1695, 567, 5669, F::Money},
    {"Label16", "Depreciation Method", 2262, "Text16", "DepreciationMethod", 2268, 825, 1134, F::General},
    {"Label17", "Depreciable Life", 1695, "Text17", "DepreciableLife", 1695, 825, 3402, F::General},
    {"Label18", "Salvage Value", 1695, "Text18", "SalvageValue", 1695, 825, 5103, F::Money},
    {"Label19", "Comments", 1695, "Text19", "Comments", 1695, 825, 6803, F::General},
}};
// clang-format on

// The design's formats, stored with the Russian locale: day.month.year, and money grouped by
// a no-break space with a decimal comma and the suffix "р.".
DataFormat FormatOf(DataFormat::Type type)
{
    switch (type) {
    case F::Date:
        return {type, "dd.MM.yyyy"};
    case F::Money:
        return {type, QString::fromUtf8("#\u00A0##0,00\"р.\"")};
    case F::General:
        break;
    }
    return {};
}

ReportControl Line(const char* name, int top)
{
    ReportControl line;
    line.kind = ReportControl::Kind::Line;
    line.name = name;
    line.top = top;
    line.width = 8505;
    return line;
}

} // namespace

rptMain::rptMain() : DataReport(MainDesign()) {}

ReportDesign rptMain::MainDesign()
{
    ReportDesign design;
    design.caption = "DataReport1";
    design.documentName = "Assets";
    design.reportWidth = 8640;
    design.leftMargin = design.rightMargin = design.topMargin = design.bottomMargin = 1440;
    design.font = ReportFont{"Arial", 8.25, false};
    const ReportFont labelFont{"Arial", 8.25, true};

    design.reportHeader = {"Section4", 0, {}};
    design.pageHeader = {"Section2", 1200, {}};
    design.detail = {"Section1", 1320, {}};
    design.pageFooter = {"Section3", 195, {}};
    design.reportFooter = {"Section5", 180, {Line("Line1", 60)}};

    for (const ReportColumn& column : kColumns) {
        ReportControl label;
        label.kind = ReportControl::Kind::Label;
        label.name = column.label;
        label.caption = column.caption;
        label.left = column.left;
        label.top = column.top;
        label.width = column.labelWidth;
        label.height = kRowHeight;
        label.font = labelFont;
        design.pageHeader.controls.append(label);

        ReportControl box;
        box.kind = ReportControl::Kind::TextBox;
        box.name = column.textBox;
        box.dataField = column.field;
        box.format = FormatOf(column.format);
        box.left = column.left;
        box.top = column.top;
        box.width = column.textBoxWidth;
        box.height = kRowHeight;
        box.font = design.font;
        design.detail.controls.append(box);
    }
    design.pageHeader.controls.append(Line("Line2", 1134));
    return design;
}
