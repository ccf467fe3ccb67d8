#pragma once

#include "data/Globals.h"
#include "platform/adodb/Connection.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QStringList>
#include <QTest>
#include <sqlite3.h>

// Reading exported reports back: the text of a PDF in reading order, page by page.

// The text of every page of the PDF, a form feed after each page; -layout keeps the fields
// of one printed line on one text line.
inline QString PdfText(const QString& path)
{
    QProcess process;
    process.start("pdftotext", {"-layout", "-enc", "UTF-8", path, "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning("pdftotext failed on %s: %s", qPrintable(path),
                 process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QStringList PdfPages(const QString& path)
{
    QStringList pages = PdfText(path).split('\f');
    // pdftotext ends the last page with a form feed too.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Whether the parts occur in `text` in this order; the first one missing is named.
inline bool InOrder(const QString& text, const QStringList& parts)
{
    qsizetype from = 0;
    for (const QString& part : parts) {
        from = text.indexOf(part, from);
        if (from < 0) {
            qWarning("missing or out of order: %s", qPrintable(part));
            return false;
        }
        from += part.size();
    }
    return true;
}

// Runs SQLite's own statement on the test's database, outside the program's dialect.
inline void RunSql(const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(g_Conn->Handle(), sql.toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        QTest::qFail(qPrintable(sql + ": " + QString::fromUtf8(message)), __FILE__, __LINE__);
        sqlite3_free(message);
    }
}

// Adds `count` assets described "Asset 1", "Asset 2", ... in key order, each bought for its
// number in whole units on 2026-01-01 plus its number of days.
inline void AddNumberedAssets(int count)
{
    RunSql(QString("insert into Assets (AssetDescription, PurchasePrice, DateAcquired) "
                   "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                   "select 'Asset ' || i, i, date('2026-01-01', '+' || i || ' days') from n")
               .arg(count));
}
