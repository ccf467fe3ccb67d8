#include "exchange/Export.h"

#include "exchange/ExportSheets.h"
#include "exchange/PendingFile.h"

ExportFormat ExportFormatOf(const QString& path)
{
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? ExportFormat::Csv
                                                                     : ExportFormat::Xlsx;
}

ExportResult ExportAssets(const QString& path, ExportFormat format, const QStringList& keys,
                          const ExportProgress& progress)
{
    ExportResult result;
    PendingFile file(path);
    // Declared after the file, so that a writer given up is done with it before it goes.
    const std::unique_ptr<SheetWriter> writer = format == ExportFormat::Csv
                                                    ? MakeCsvWriter(file.File())
                                                    : MakeXlsxWriter(file.TemporaryPath());
    if (!WriteExportSheets(keys, format == ExportFormat::Xlsx, *writer, progress)) {
        result.cancelled = true;
        return result;
    }
    writer->Finish();
    file.Commit();
    result.cutTexts = writer->CutTexts();
    return result;
}
