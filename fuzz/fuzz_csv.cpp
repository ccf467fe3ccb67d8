// Feeds any bytes to the CSV reader: none may crash, a file that is no CSV text is refused
// with a description, and every record read comes back the same when written and read again.
// Texts that a spreadsheet would run come back whole through the formula guard.

#include "exchange/Csv.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

namespace {

QStringList ReadBack(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer);
    CsvReader::Record record, more;
    if (!reader.Next(record) || reader.Next(more))
        std::abort(); // one record written, one record read
    return record.fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    try {
        CsvReader reader(buffer);
        CsvReader::Record record;
        while (reader.Next(record)) {
            for (const QString& field : record.fields)
                if (UnguardFormula(GuardFormula(field)) != field)
                    std::abort();
            QByteArray written;
            AppendCsvRecord(record.fields, written);
            if (ReadBack(written) != record.fields)
                std::abort();
        }
    } catch (const FileError& error) {
        if (error.Description().isEmpty())
            std::abort();
    }
    return 0;
}
