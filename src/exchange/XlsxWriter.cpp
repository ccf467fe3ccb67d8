// The workbook form of the export, written with libxlsxwriter: typed cells (dates as dates,
// money with the program's currency format, numbers as numbers), a bold header row that
// stays in view and carries a filter, and columns as wide as their contents.
#include "exchange/ExportSheets.h"
#include "exchange/XlsxSheet.h"

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QFile>
#include <QStringEncoder>
#include <algorithm>
#include <cmath>
#include <system_error>
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

// Rows converted before they are handed to a sheet's thread.
constexpr int kBatchRows = 256;

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
        m_money = workbook_add_format(m_book);
        format_set_num_format(m_money, "$#,##0.00");
        m_dateTime = workbook_add_format(m_book);
        format_set_num_format_index(m_dateTime, kDateTimeFormat);
        // Fixed now, in the order a sheet first uses them, so that the sheets' threads
        // only read them.
        for (lxw_format* format : {m_header, m_date, m_money, m_dateTime})
            lxw_format_get_xf_index(format);
    }

    ~XlsxWriter() override
    {
        // The sheets' threads end before the workbook goes; a workbook given up half-way
        // is freed without being written.
        m_sheets.clear();
        if (m_book)
            lxw_workbook_free(m_book);
    }

    void BeginSheet(const QString& name, const QStringList& captions) override
    {
        lxw_worksheet* sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (!sheet)
            throw RuntimeError("the sheet " + name + " could not be added");
        try {
            m_sheets.push_back(std::make_unique<Sheet>(sheet));
        } catch (const std::system_error& error) {
            throw RuntimeError("the sheet " + name + " could not be started: " + error.what());
        }
        m_sheet = m_sheets.back().get();
        m_sheet->widths.assign(size_t(captions.size()), 0);
        for (int column = 0; column < int(captions.size()); ++column) {
            AddText(lxw_col_t(column), captions[column], m_header);
            // Room for the filter's button beside the caption.
            Widen(column, int(captions[column].size()) + 3);
        }
        m_batchRows = 1;
    }

    void WriteRow(const std::vector<Variant>& cells) override
    {
        ++m_sheet->rows;
        for (size_t column = 0; column < cells.size(); ++column)
            AddCell(lxw_col_t(column), cells[column]);
        if (++m_batchRows >= kBatchRows)
            HandOver();
    }

    void EndSheet() override { HandOver(); }

    void Finish() override
    {
        for (const std::unique_ptr<Sheet>& sheet : m_sheets) {
            Check(sheet->writer.Finish());
            lxw_worksheet* worksheet = sheet->writer.Worksheet();
            const lxw_col_t last = lxw_col_t(sheet->widths.size() - 1);
            for (lxw_col_t column = 0; column <= last; ++column)
                Check(worksheet_set_column(worksheet, column, column, sheet->widths[column] + 1,
                                           nullptr));
            worksheet_freeze_panes(worksheet, 1, 0);
            Check(worksheet_autofilter(worksheet, 0, 0, sheet->rows, last));
        }
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        Check(error);
        if (!SheetsComplete(m_path, int(m_sheets.size())))
            throw RuntimeError("the workbook came out incomplete; the disk may be full");
    }

    int CutTexts() const override { return m_cut; }

private:
    struct Sheet
    {
        explicit Sheet(lxw_worksheet* worksheet) : writer(worksheet) {}
        XlsxSheet writer;
        std::vector<int> widths;
        lxw_row_t rows = 0;
    };

    void HandOver()
    {
        m_sheet->writer.Write(m_batch);
        m_batchRows = 0;
    }

    void Widen(int column, int characters)
    {
        int& width = m_sheet->widths[size_t(column)];
        width = std::max(width, std::min(characters, kWidestColumn));
    }

    XlsxCell& Add(XlsxCell::Kind kind, lxw_col_t column, lxw_format* format)
    {
        XlsxCell& cell = m_batch.cells.emplace_back();
        cell.kind = kind;
        cell.row = m_sheet->rows;
        cell.column = column;
        cell.format = format;
        return cell;
    }

    void AddCell(lxw_col_t column, const Variant& value)
    {
        switch (value.type()) {
        case Variant::Type::Long:
            AddNumber(column, double(value.longValue()), nullptr);
            return;
        case Variant::Type::Double:
            AddNumber(column, value.doubleValue(), nullptr);
            return;
        case Variant::Type::Currency:
            AddNumber(column, value.currencyValue().ToDouble(), m_money);
            return;
        case Variant::Type::Date:
            AddDate(column, value.dateDay(), value.dateTime(), value.dateHasTime());
            return;
        case Variant::Type::String:
            AddText(column, value.stringValue(), nullptr);
            return;
        case Variant::Type::Boolean:
            Add(XlsxCell::Kind::Boolean, column, nullptr).number = value.booleanValue();
            return;
        case Variant::Type::Empty:
        case Variant::Type::Null:
            return;
        }
    }

    void AddNumber(lxw_col_t column, double number, lxw_format* format)
    {
        Add(XlsxCell::Kind::Number, column, format).number = number;
        // Whole digits with their group separators, sign, decimals and currency sign.
        const double whole = std::abs(number);
        int digits = 1;
        for (double next = 10; whole >= next && digits < 309; next *= 10)
            ++digits;
        Widen(int(column), digits + digits / 3 + 5);
    }

    void AddDate(lxw_col_t column, const QDate& day, const QTime& time, bool hasTime)
    {
        // Spreadsheet dates begin in 1900; an earlier date goes as its ISO text.
        if (day.year() < 1900 || day.year() > 9999) {
            AddText(column, IsoDateText(day, time, hasTime), nullptr);
            return;
        }
        Add(XlsxCell::Kind::Date, column, hasTime ? m_dateTime : m_date).date = {
            day.year(),  day.month(),   day.day(),
            time.hour(), time.minute(), time.second() + time.msec() / 1000.0};
        Widen(int(column), hasTime ? 16 : 10);
    }

    void AddText(lxw_col_t column, const QString& text, lxw_format* format)
    {
        QStringView kept = text;
        if (kept.size() > kCellCharacters) {
            kept.truncate(kCellCharacters);
            if (kept.back().isHighSurrogate())
                kept.chop(1);
            ++m_cut;
        }
        // A string cell: a spreadsheet shows it as text, also when it reads like a formula.
        std::string& texts = m_batch.texts;
        const size_t at = texts.size();
        Add(XlsxCell::Kind::Text, column, format).text = at;
        texts.resize(at + size_t(m_utf8.requiredSpace(kept.size())) + 1);
        char* end = m_utf8.appendToBuffer(texts.data() + at, kept);
        *end = '\0';
        texts.resize(size_t(end - texts.data()) + 1);
        Widen(int(column), int(std::min<qsizetype>(kept.size(), kWidestColumn)));
    }

    QByteArray m_path;
    lxw_workbook* m_book = nullptr;
    lxw_format* m_header = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_money = nullptr;
    lxw_format* m_dateTime = nullptr;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    Sheet* m_sheet = nullptr;
    XlsxBatch m_batch;
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    int m_batchRows = 0;
    int m_cut = 0;
};

} // namespace

std::unique_ptr<SheetWriter> MakeXlsxWriter(const QString& path)
{
    return std::make_unique<XlsxWriter>(path);
}
