#pragma once

#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

// Comma-separated text as RFC 4180 has it, in UTF-8: fields that hold a delimiter, a quote,
// a line break or blanks at either end are quoted, quotes inside doubled; records end in
// CR LF.
void AppendCsvRecord(const QStringList& fields, QByteArray& out);

// A spreadsheet takes a text that begins with "=", "+", "-" or "@" (or a tab or a carriage
// return, which it skips) for a formula and runs it. Such a text is written with an
// apostrophe before it, which spreadsheets show as text; reading takes exactly that
// apostrophe off again, so every text comes back as it was.
QString GuardFormula(const QString& text);
QString UnguardFormula(const QString& text);

// A file that cannot be read as a list of assets at all; the description says why.
class FileError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// Reads records from CSV text as spreadsheets save it: comma, semicolon or tab separated
// (whichever of them the first line holds most of outside quotes), UTF-8 with or without a
// byte order mark, quoted fields with line breaks, CR LF or LF line ends. Throws FileError for
// a file that is no such text: bytes that are not UTF-8, a quote
// never closed, a line longer than any list of assets has.
class CsvReader
{
public:
    explicit CsvReader(QIODevice& device);

    struct Record
    {
        int line = 0; // the line of the file where the record starts, from 1
        QStringList fields;
    };
    // The next record that holds anything (blank lines are skipped); false at the end.
    bool Next(Record& record);

private:
    bool Fill();
    static void EndField(QByteArray& field, Record& record);

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    char m_delimiter = ',';
    int m_line = 1;
    bool m_afterCarriageReturn = false;
};
