#pragma once

#include "exchange/Export.h"
#include "platform/value/Variant.h"

#include <QStringList>
#include <memory>
#include <vector>

class QFile;

// Where the exported rows go, sheet after sheet.
class SheetWriter
{
public:
    virtual ~SheetWriter() = default;
    virtual void BeginSheet(const QString& name, const QStringList& captions) = 0;
    virtual void WriteRow(const std::vector<Variant>& cells) = 0;
    virtual void EndSheet() = 0;
    // Completes the file; throws RuntimeError when it could not be written.
    virtual void Finish() = 0;
    // Texts written cut to what a cell holds.
    virtual int CutTexts() const { return 0; }
};

// Reads the assets `keys` from qryAssets in that order, with their typed values, into the
// sheet "Assets"; with `histories` also their maintenance and depreciation entries, asset by
// asset in the same order and by date, into the sheets "Maintenance" and "Depreciation".
// False when `progress` cancelled.
bool WriteExportSheets(const QStringList& keys, bool histories, SheetWriter& out,
                       const ExportProgress& progress);

// The writers of the two formats: CSV into an open file, a workbook to a path.
std::unique_ptr<SheetWriter> MakeCsvWriter(QFile& file);
std::unique_ptr<SheetWriter> MakeXlsxWriter(const QString& path);
