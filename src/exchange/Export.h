#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Spreadsheet files of the assets.
enum class ExportFormat { Xlsx, Csv };

// The format a file name asks for by its suffix; CSV for ".csv", else the workbook.
ExportFormat ExportFormatOf(const QString& path);

// Called now and then with the rows written and the rows to write; false cancels.
using ExportProgress = std::function<bool(int done, int total)>;

struct ExportResult
{
    bool cancelled = false;
    // Texts longer than a workbook cell holds, written cut to that length.
    int cutTexts = 0;
};

// Writes the assets with the keys `keys`, in that order, to `path`: a workbook with the
// sheets "Assets", "Maintenance" and "Depreciation", or a CSV file of the assets. The file
// appears whole or not at all. Throws RuntimeError when it cannot be written.
ExportResult ExportAssets(const QString& path, ExportFormat format, const QStringList& keys,
                          const ExportProgress& progress);
