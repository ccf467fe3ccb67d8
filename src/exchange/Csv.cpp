#include "exchange/Csv.h"

#include <QIODevice>
#include <QStringDecoder>
#include <array>

namespace {

constexpr qsizetype kChunk = 1 << 16;
// Nineteen fields of ten thousand characters each take well under a megabyte.
constexpr qsizetype kLongestRecord = 4 << 20;

bool NeedsQuotes(const QString& field)
{
    if (field.isEmpty())
        return false;
    // Blanks at either end, and a leading U+FEFF that would read as a byte order mark.
    if (field.front().isSpace() || field.back().isSpace() || field.front() == QChar(0xFEFF))
        return true;
    for (QChar c : field)
        if (c == ',' || c == '"' || c == '\n' || c == '\r' || c == ';' || c == '\t')
            return true;
    return false;
}

bool LooksLikeFormula(QStringView text)
{
    while (!text.isEmpty() && (text.front() == '\t' || text.front() == '\r'))
        text = text.mid(1);
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    return first == '=' || first == '+' || first == '-' || first == '@';
}

// A text that needs the apostrophe: one a spreadsheet would run, or one that already begins
// with the apostrophe of such a text and would lose it on the way back.
bool NeedsGuard(QStringView text)
{
    while (text.startsWith(QLatin1Char('\'')))
        text = text.mid(1);
    return LooksLikeFormula(text);
}

} // namespace

void AppendCsvRecord(const QStringList& fields, QByteArray& out)
{
    QString record;
    // Room for every field, its separator and its quotes, and the line's end.
    qsizetype length = 2;
    for (const QString& field : fields)
        length += field.size() + 3;
    record.reserve(length);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        const QString& field = fields[i];
        if (NeedsQuotes(field)) {
            record += '"';
            record += QString(field).replace('"', QLatin1String("\"\""));
            record += '"';
        } else {
            record += field;
        }
    }
    record += QLatin1String("\r\n");
    out += record.toUtf8();
}

QString GuardFormula(const QString& text)
{
    return NeedsGuard(text) ? QLatin1Char('\'') + text : text;
}

QString UnguardFormula(const QString& text)
{
    return text.startsWith(QLatin1Char('\'')) && NeedsGuard(QStringView(text).mid(1)) ? text.mid(1)
                                                                                      : text;
}

CsvReader::CsvReader(QIODevice& device) : m_device(device)
{
    Fill();
    if (m_buffer.startsWith("\xEF\xBB\xBF"))
        m_pos = 3;
    // The delimiter is the one the first line holds most of outside quotes.
    std::array<int, 3> counts{};
    const char delimiters[] = {',', ';', '\t'};
    bool quoted = false;
    for (qsizetype i = m_pos; i < m_buffer.size(); ++i) {
        const char c = m_buffer[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            for (size_t d = 0; d < counts.size(); ++d)
                counts[d] += c == delimiters[d];
    }
    for (size_t d = 1; d < counts.size(); ++d)
        if (counts[d] > counts[0] && counts[d] >= counts[d == 1 ? 2 : 1])
            m_delimiter = delimiters[d];
}

bool CsvReader::Fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const QByteArray more = m_device.read(kChunk);
    if (more.isEmpty()) {
        m_atEnd = true;
        return false;
    }
    m_buffer += more;
    return true;
}

void CsvReader::EndField(QByteArray& field, Record& record)
{
    if (!field.isValidUtf8())
        throw FileError(QStringLiteral("line %1 is not UTF-8 text. Save the file from its "
                                       "spreadsheet as \"CSV UTF-8\" and import it again")
                            .arg(record.line));
    // A U+FEFF at the start of a field is text of its own; only the file's first one is a
    // byte order mark, and the reader skipped that already.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    record.fields.append(decoder.decode(field));
    field.clear();
}

bool CsvReader::Next(Record& record)
{
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    for (;;) {
        record.fields.clear();
        record.line = m_line;
        QByteArray field;
        State state = State::FieldStart;
        qsizetype size = 0;
        bool ended = false;
        while (!ended) {
            if (m_pos >= m_buffer.size() && !Fill()) {
                if (state == State::Quoted)
                    throw FileError(QStringLiteral("a quote opened on line %1 is never closed")
                                        .arg(record.line));
                if (state == State::FieldStart && record.fields.isEmpty())
                    return false;
                break;
            }
            const char c = m_buffer[m_pos++];
            if (++size > kLongestRecord)
                throw FileError(QStringLiteral("line %1 is longer than %2 MB, which no list of "
                                               "assets needs")
                                    .arg(record.line)
                                    .arg(kLongestRecord >> 20));
            // A line feed right after a carriage return ends the same line.
            const bool lineFeedAfterReturn = c == '\n' && m_afterCarriageReturn;
            m_afterCarriageReturn = c == '\r';
            if ((c == '\n' && !lineFeedAfterReturn) || c == '\r')
                ++m_line;
            if (state == State::Quoted) {
                if (c == '"')
                    state = State::QuoteInQuoted;
                else
                    field += c;
                continue;
            }
            if (state == State::QuoteInQuoted && c == '"') {
                field += '"';
                state = State::Quoted;
                continue;
            }
            if (c == m_delimiter) {
                EndField(field, record);
                state = State::FieldStart;
            } else if (c == '\n' || c == '\r') {
                if (lineFeedAfterReturn && state == State::FieldStart && record.fields.isEmpty())
                    continue; // the rest of a CR LF
                ended = true;
            } else if (state == State::FieldStart && c == '"') {
                state = State::Quoted;
            } else {
                // Text after a closing quote is kept, as spreadsheets read it.
                field += c;
                state = State::Unquoted;
            }
        }
        EndField(field, record);
        const bool blank = record.fields.size() == 1 && record.fields.front().isEmpty();
        if (!blank)
            return true;
        if (m_pos >= m_buffer.size() && m_atEnd)
            return false;
    }
}
