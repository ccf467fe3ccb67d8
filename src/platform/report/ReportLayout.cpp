#include "platform/report/ReportLayout.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/DataFormat.h"

#include <algorithm>

namespace {

// Control characters would break a text box's single line (or a PDF's text); they show as
// blanks. Most texts have none and are kept as they are, shared with the source.
QString SingleLine(QString text)
{
    const auto control = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; };
    if (std::any_of(text.cbegin(), text.cend(), control))
        std::replace_if(text.begin(), text.end(), control, QChar(' '));
    return text;
}

// No box shows more than a few dozen characters of its one line. A longer text keeps its
// first characters, still far wider than any box (so it ends in "…" as before, with room for
// combining marks), and a comment of ten thousand characters costs the report no more than
// a short one.
constexpr qsizetype kKeptCharacters = 512;

Variant Kept(Variant value)
{
    if (value.type() != Variant::Type::String || value.stringValue().size() <= kKeptCharacters)
        return value;
    qsizetype length = kKeptCharacters;
    if (value.stringValue().at(length - 1).isHighSurrogate())
        --length;
    return Variant::FromString(value.stringValue().left(length));
}

} // namespace

ReportLayout::ReportLayout(const ReportDesign& design, Recordset& source) : m_design(design)
{
    const QStringList columns = source.FieldNames();
    for (const ReportControl& control : design.detail.controls) {
        if (control.kind != ReportControl::Kind::TextBox)
            continue;
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const QString& c) {
            return c.compare(control.dataField, Qt::CaseInsensitive) == 0;
        });
        if (found == columns.end()) {
            throw RuntimeError("The data field '" + control.dataField + "' of " + control.name +
                               " is not a column of the data source");
        }
        m_fieldIndex.push_back(static_cast<int>(found - columns.begin()));
    }
    // One pass from first to last, so that a long source need not keep the rows it passed; a
    // cell that cannot be read stays empty.
    if (!(source.Bof() && source.Eof()))
        source.MoveFirst();
    for (; !source.Eof(); source.MoveNext()) {
        for (const int field : m_fieldIndex) {
            Variant value;
            try {
                value = Kept(source.Fields(field).Value);
            } catch (const RuntimeError& error) {
                if (!m_cellError)
                    m_cellError = error;
            }
            m_values.push_back(std::move(value));
        }
        ++m_recordCount;
    }
    PlanPages();
}

void ReportLayout::PlanPages()
{
    const ReportDesign& d = m_design;
    const int footerTop = d.paperHeight - d.bottomMargin - d.pageFooter.height;
    const int detailHeight = std::max(1, d.detail.height);
    // A detail taller than the room on a page still gets a page of its own.
    m_firstPageCapacity = std::max(1, (footerTop - DetailTop(0)) / detailHeight);
    m_pageCapacity = std::max(1, (footerTop - DetailTop(1)) / detailHeight);

    const int records = RecordCount();
    m_detailPages = 1;
    if (records > m_firstPageCapacity)
        m_detailPages += (records - m_firstPageCapacity + m_pageCapacity - 1) / m_pageCapacity;
    const int onLastPage = records - FirstRecord(m_detailPages - 1);
    const int end = DetailTop(m_detailPages - 1) + onLastPage * d.detail.height;
    const bool footerFits = end + d.reportFooter.height <= footerTop;
    m_pageCount = m_detailPages + (footerFits ? 0 : 1);
}

int ReportLayout::DetailTop(int pageIndex) const
{
    return m_design.topMargin + (pageIndex == 0 ? m_design.reportHeader.height : 0) +
           m_design.pageHeader.height;
}

int ReportLayout::FirstRecord(int pageIndex) const
{
    return pageIndex == 0 ? 0 : m_firstPageCapacity + (pageIndex - 1) * m_pageCapacity;
}

ReportPage ReportLayout::Page(int index) const
{
    const ReportDesign& d = m_design;
    ReportPage page;
    page.number = index + 1;
    int top = d.topMargin;
    if (index == 0) {
        PlaceSection(page, d.reportHeader, top, -1);
        top += d.reportHeader.height;
    }
    PlaceSection(page, d.pageHeader, top, -1);
    top += d.pageHeader.height;
    if (index < m_detailPages) {
        const int first = FirstRecord(index);
        const int last =
            std::min(RecordCount(), first + (index == 0 ? m_firstPageCapacity : m_pageCapacity));
        for (int record = first; record < last; ++record) {
            PlaceSection(page, d.detail, top, record);
            top += d.detail.height;
        }
    }
    if (index == m_pageCount - 1)
        PlaceSection(page, d.reportFooter, top, -1);
    PlaceSection(page, d.pageFooter, d.paperHeight - d.bottomMargin - d.pageFooter.height, -1);
    return page;
}

void ReportLayout::PlaceSection(ReportPage& page, const ReportSection& section, int top,
                                int record) const
{
    std::size_t box = static_cast<std::size_t>(std::max(0, record)) * m_fieldIndex.size();
    for (const ReportControl& control : section.controls) {
        PlacedControl placed{&control, m_design.leftMargin + control.left, top + control.top,
                             QString()};
        switch (control.kind) {
        case ReportControl::Kind::Label:
            placed.text = QString(control.caption)
                              .replace("%p", QString::number(page.number))
                              .replace("%P", QString::number(m_pageCount));
            break;
        case ReportControl::Kind::TextBox:
            // Outside the detail band there is no current record: the box stays empty.
            if (record >= 0)
                placed.text = SingleLine(FormatValue(m_values[box++], control.format));
            break;
        case ReportControl::Kind::Line:
            break;
        }
        page.controls.append(std::move(placed));
    }
}
