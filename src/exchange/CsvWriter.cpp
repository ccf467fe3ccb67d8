// The CSV form of the export: the assets only, every value in a form any program reads
// alike (ISO dates, numbers with a point).
#include "exchange/Csv.h"
#include "exchange/ExportSheets.h"

#include "data/SqlLiterals.h"
#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QFile>

namespace {

QString CsvText(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Long:
        return QString::number(value.longValue());
    case Variant::Type::Double:
        return NumberLiteral(value.doubleValue());
    case Variant::Type::Currency:
        return NumberLiteral(value.currencyValue());
    case Variant::Type::Date:
        return IsoDateText(value.dateDay(), value.dateTime(), value.dateHasTime());
    case Variant::Type::String:
        return GuardFormula(value.stringValue());
    case Variant::Type::Boolean:
        return value.booleanValue() ? "True" : "False";
    case Variant::Type::Empty:
    case Variant::Type::Null:
        break;
    }
    return QString();
}

class CsvWriter : public SheetWriter
{
public:
    explicit CsvWriter(QFile& file) : m_file(file) {}

    void BeginSheet(const QString&, const QStringList& captions) override
    {
        AppendCsvRecord(captions, m_pending);
    }

    void WriteRow(const std::vector<Variant>& cells) override
    {
        QStringList fields;
        fields.reserve(qsizetype(cells.size()));
        for (const Variant& cell : cells)
            fields << CsvText(cell);
        AppendCsvRecord(fields, m_pending);
        if (m_pending.size() > (1 << 20))
            Flush();
    }

    void EndSheet() override { Flush(); }
    void Finish() override { Flush(); }

private:
    void Flush()
    {
        if (m_file.write(m_pending) != m_pending.size())
            throw RuntimeError(m_file.errorString());
        m_pending.clear();
    }

    QFile& m_file;
    QByteArray m_pending;
};

} // namespace

std::unique_ptr<SheetWriter> MakeCsvWriter(QFile& file)
{
    return std::make_unique<CsvWriter>(file);
}
