#include "platform/adodb/RowStore.h"

#include "platform/RuntimeError.h"

#include <QDateTime>
#include <QMutex>
#include <QSet>
#include <cstring>

namespace {

// The name as a text kept for the life of the program, which copies of it share without
// counting references: a recordset hands out a Field, with its name, for each of the two
// million cells of a long list. The names are the few of the program's queries' columns.
QString LastingName(const QString& name)
{
    static QMutex mutex;
    static auto* const kept = new QSet<QString>;
    const QMutexLocker lock(&mutex);
    const QString& lasting = *kept->insert(name);
    return QString::fromRawData(lasting.constData(), lasting.size());
}

int Digits(const char* text, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

bool ParseStoredDate(const char* text, int length, std::int64_t& dayAndTime, bool& hasTime)
{
    if (length != 10 && length != 16 && length != 19)
        return false;
    if (text[4] != '-' || text[7] != '-')
        return false;
    const QDate date(Digits(text, 4), Digits(text + 5, 2), Digits(text + 8, 2));
    if (!date.isValid())
        return false;
    int ms = 0;
    hasTime = length > 10;
    if (hasTime) {
        if ((text[10] != ' ' && text[10] != 'T') || text[13] != ':' ||
            (length == 19 && text[16] != ':'))
            return false;
        const QTime time(Digits(text + 11, 2), Digits(text + 14, 2),
                         length == 19 ? Digits(text + 17, 2) : 0);
        if (!time.isValid())
            return false;
        ms = time.msecsSinceStartOfDay();
    }
    dayAndTime = date.toJulianDay() * kMsPerDay + ms;
    return true;
}

void RowStore::AddColumn(const QString& name)
{
    m_names.append(LastingName(name));
}

void RowStore::ClearRows()
{
    m_cells.clear();
    m_texts.clear();
    m_strings.clear();
    m_rowCount = 0;
    m_column = 0;
}

void RowStore::MakeTexts()
{
    m_strings.resize(m_cells.size());
    for (std::size_t at = 0; at < m_cells.size(); ++at)
        if (m_cells[at].kind == Kind::String)
            m_strings[at] = TextAt(m_cells[at].integer).toString();
}

std::size_t RowStore::Size() const
{
    return m_cells.size() * sizeof(Cell) + m_texts.size();
}

void RowStore::Add(Cell cell)
{
    m_cells.push_back(cell);
    if (++m_column == m_names.size()) {
        m_column = 0;
        ++m_rowCount;
    }
}

void RowStore::AddNull()
{
    Add({{0}, Kind::Null});
}

void RowStore::AddLong(std::int64_t value)
{
    Add({{value}, Kind::Long});
}

void RowStore::AddDouble(double value)
{
    Cell cell{{0}, Kind::Double};
    cell.real = value;
    Add(cell);
}

void RowStore::AddCurrency(std::int64_t tenThousandths)
{
    Add({{tenThousandths}, Kind::Currency});
}

void RowStore::AddCurrencyOverflow(double stored)
{
    Cell cell{{0}, Kind::CurrencyOverflow};
    cell.real = stored;
    Add(cell);
}

void RowStore::AddDate(std::int64_t dayAndTime, bool hasTime)
{
    Add({{dayAndTime}, hasTime ? Kind::DateTime : Kind::Date});
}

void RowStore::AddText(QUtf8StringView text)
{
    Add({{std::int64_t(m_texts.size())}, Kind::String});
    const auto length = std::uint32_t(text.size());
    m_texts.append(reinterpret_cast<const char*>(&length), sizeof length);
    m_texts.append(text.data(), std::size_t(text.size()));
}

void RowStore::AddBoolean(bool value)
{
    Add({{value ? 1 : 0}, Kind::Boolean});
}

void RowStore::Add(const RowStore& other, int row, int column)
{
    const Cell& cell = other.m_cells[std::size_t(row) * other.m_names.size() + column];
    if (cell.kind != Kind::String)
        return Add(cell);
    AddText(other.TextAt(cell.integer));
}

QUtf8StringView RowStore::TextAt(std::int64_t place) const
{
    std::uint32_t length = 0;
    std::memcpy(&length, m_texts.data() + place, sizeof length);
    return QUtf8StringView(m_texts.data() + place + sizeof length, qsizetype(length));
}

int RowStore::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Variant RowStore::Value(int row, int column) const
{
    const std::size_t at = std::size_t(row) * m_names.size() + column;
    const Cell& cell = m_cells[at];
    switch (cell.kind) {
    case Kind::Null:
        return Variant::Null();
    case Kind::Long:
        return Variant::FromLong(cell.integer);
    case Kind::Double:
        return Variant::FromDouble(cell.real);
    case Kind::Currency:
        return Variant::FromCurrency(Currency::FromTenThousandths(cell.integer));
    case Kind::CurrencyOverflow:
        throw RuntimeError(QStringLiteral("Overflow: the stored amount %1 of %2 is beyond the "
                                          "currency range")
                               .arg(QString::number(cell.real, 'g', 17), m_names[column]),
                           6);
    case Kind::Date:
    case Kind::DateTime:
        return Variant::FromDate(QDate::fromJulianDay(cell.integer / kMsPerDay),
                                 QTime::fromMSecsSinceStartOfDay(int(cell.integer % kMsPerDay)),
                                 cell.kind == Kind::DateTime);
    case Kind::String:
        return Variant::FromString(at < m_strings.size() ? m_strings[at]
                                                         : TextAt(cell.integer).toString());
    case Kind::Boolean:
        return Variant::FromBoolean(cell.integer != 0);
    }
    return Variant();
}
