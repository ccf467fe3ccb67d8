// The workbook form of the export, written with libxlsxwriter: typed cells (dates as dates,
// money with the program's currency format, numbers as numbers), a bold header row that
// stays in view and carries a filter, and columns as wide as their contents.
#include "exchange/ExportSheets.h"

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <unzip.h>
#include <xlsxwriter.h>

namespace {

// The characters one cell of a workbook holds at most.
constexpr qsizetype kCellCharacters = 32767;
// Columns grow with their contents up to this many characters.
constexpr int kWidestColumn = 60;
// Excel's own date formats, which spreadsheets show in the reader's short date form.
constexpr uint8_t kDateFormat = 14;
constexpr uint8_t kDateTimeFormat = 22;

void Check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw RuntimeError(QString::fromUtf8(lxw_strerror(error)));
}

// Whether each of the first `sheets` worksheets of the workbook reads to its end. The library
// does not notice when a write to its temporary files fails (a full disk) and would leave
// such a sheet cut short in a workbook that looks whole, so the finished file is read back.
bool SheetsComplete(const QByteArray& path, int sheets)
{
    unzFile zip = unzOpen64(path.constData());
    if (!zip)
        return false;
    bool complete = true;
    for (int n = 1; n <= sheets && complete; ++n) {
        const QByteArray name = "xl/worksheets/sheet" + QByteArray::number(n) + ".xml";
        if (unzLocateFile(zip, name.constData(), 1) != UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            complete = false;
            break;
        }
        QByteArray buffer(1 << 16, Qt::Uninitialized);
        QByteArray tail;
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer.data(), int(buffer.size()))) > 0) {
            const int kept = std::min(read, 64);
            tail = (tail + QByteArray(buffer.data() + read - kept, kept)).right(64);
        }
        // Closing checks the sheet's checksum too.
        complete = unzCloseCurrentFile(zip) == UNZ_OK && read == 0 &&
                   tail.trimmed().endsWith("</worksheet>");
    }
    unzClose(zip);
    return complete;
}

class XlsxWriter : public SheetWriter
{
public:
    explicit XlsxWriter(const QString& path) : m_path(QFile::encodeName(path))
    {
        // Rows go to the disk as they are written, so a large export needs little memory.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(m_path.constData(), &options);
        if (!m_book)
            throw RuntimeError("the workbook could not be started");
        m_header = workbook_add_format(m_book);
        format_set_bold(m_header);
        m_date = workbook_add_format(m_book);
        format_set_num_format_index(m_date, kDateFormat);
        m_dateTime = workbook_add_format(m_book);
        format_set_num_format_index(m_dateTime, kDateTimeFormat);
        m_money = workbook_add_format(m_book);
        format_set_num_format(m_money, "$#,##0.00");
    }

    ~XlsxWriter() override
    {
        // A workbook given up half-way is freed without being written.
        if (m_book)
            lxw_workbook_free(m_book);
    }

    void BeginSheet(const QString& name, const QStringList& captions) override
    {
        m_sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (!m_sheet)
            throw RuntimeError("the sheet " + name + " could not be added");
        ++m_sheets;
        m_row = 0;
        m_widths.assign(size_t(captions.size()), 0);
        for (int column = 0; column < int(captions.size()); ++column) {
            Check(worksheet_write_string(m_sheet, 0, lxw_col_t(column),
                                         captions[column].toUtf8().constData(), m_header));
            // Room for the filter's button beside the caption.
            Widen(column, int(captions[column].size()) + 3);
        }
    }

    void WriteRow(const std::vector<Variant>& cells) override
    {
        ++m_row;
        for (size_t column = 0; column < cells.size(); ++column)
            WriteCell(lxw_col_t(column), cells[column]);
    }

    void EndSheet() override
    {
        const lxw_col_t last = lxw_col_t(m_widths.size() - 1);
        for (lxw_col_t column = 0; column <= last; ++column)
            Check(worksheet_set_column(m_sheet, column, column, m_widths[column] + 1, nullptr));
        worksheet_freeze_panes(m_sheet, 1, 0);
        Check(worksheet_autofilter(m_sheet, 0, 0, m_row, last));
    }

    void Finish() override
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        Check(error);
        if (!SheetsComplete(m_path, m_sheets))
            throw RuntimeError("the workbook came out incomplete; the disk may be full");
    }

    int CutTexts() const override { return m_cut; }

private:
    void Widen(int column, int characters)
    {
        m_widths[size_t(column)] =
            std::max(m_widths[size_t(column)], std::min(characters, kWidestColumn));
    }

    void WriteCell(lxw_col_t column, const Variant& value)
    {
        switch (value.type()) {
        case Variant::Type::Long:
            WriteNumber(column, double(value.longValue()), nullptr);
            return;
        case Variant::Type::Double:
            WriteNumber(column, value.doubleValue(), nullptr);
            return;
        case Variant::Type::Currency:
            WriteNumber(column, value.currencyValue().ToDouble(), m_money);
            return;
        case Variant::Type::Date:
            WriteDate(column, value.dateDay(), value.dateTime(), value.dateHasTime());
            return;
        case Variant::Type::String:
            WriteText(column, value.stringValue());
            return;
        case Variant::Type::Boolean:
            Check(worksheet_write_boolean(m_sheet, m_row, column, value.booleanValue(), nullptr));
            return;
        case Variant::Type::Empty:
        case Variant::Type::Null:
            return;
        }
    }

    void WriteNumber(lxw_col_t column, double number, lxw_format* format)
    {
        Check(worksheet_write_number(m_sheet, m_row, column, number, format));
        // Whole digits with their group separators, sign, decimals and currency sign.
        const double whole = std::floor(std::abs(number));
        const int digits = whole >= 1 ? int(std::log10(whole)) + 1 : 1;
        Widen(int(column), digits + digits / 3 + 5);
    }

    void WriteDate(lxw_col_t column, const QDate& day, const QTime& time, bool hasTime)
    {
        // Spreadsheet dates begin in 1900; an earlier date goes as its ISO text.
        if (day.year() < 1900 || day.year() > 9999) {
            WriteText(column, IsoDateText(day, time, hasTime));
            return;
        }
        lxw_datetime datetime{day.year(),  day.month(),   day.day(),
                              time.hour(), time.minute(), time.second() + time.msec() / 1000.0};
        Check(worksheet_write_datetime(m_sheet, m_row, column, &datetime,
                                       hasTime ? m_dateTime : m_date));
        Widen(int(column), hasTime ? 16 : 10);
    }

    void WriteText(lxw_col_t column, const QString& text)
    {
        QString kept = text;
        if (kept.size() > kCellCharacters) {
            kept.truncate(kCellCharacters);
            if (kept.back().isHighSurrogate())
                kept.chop(1);
            ++m_cut;
        }
        // A string cell: a spreadsheet shows it as text, also when it reads like a formula.
        Check(worksheet_write_string(m_sheet, m_row, column, kept.toUtf8().constData(), nullptr));
        Widen(int(column), int(std::min<qsizetype>(kept.size(), kWidestColumn)));
    }

    QByteArray m_path;
    int m_sheets = 0;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_header = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_dateTime = nullptr;
    lxw_format* m_money = nullptr;
    lxw_row_t m_row = 0;
    std::vector<int> m_widths;
    int m_cut = 0;
};

} // namespace

std::unique_ptr<SheetWriter> MakeXlsxWriter(const QString& path)
{
    return std::make_unique<XlsxWriter>(path);
}
