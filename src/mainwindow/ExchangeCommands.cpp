#include "mainwindow/ExchangeCommands.h"

#include "common/ErrorTrap.h"
#include "exchange/Csv.h"
#include "exchange/Export.h"
#include "exchange/Import.h"
#include "exchange/ImportSummary.h"
#include "mainwindow/SharedConnection.h"
#include "platform/os/Clock.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Modal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

// Exports shorter than this show no progress.
constexpr int kQuietMs = 500;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

void ExportAssetsCommand(ListView& list)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.ExportAssets ");
    QStringList keys;
    trap(100, [&] {
        keys.reserve(list.ItemCount());
        for (int row = 0; row < list.ItemCount(); ++row)
            keys << list.ItemText(row);
    });
    QString path;
    trap(102, [&] {
        path = ChooseFile({FileRequest::Mode::Save,
                           "Export Assets",
                           QDir::homePath() + "/Assets " + Today().toString(Qt::ISODate) + ".xlsx",
                           {"Excel workbook (*.xlsx)", "CSV, comma-separated (*.csv)"}});
    });
    if (path.isEmpty())
        return;
    trap(104, [&] {
        QProgressDialog progress("Exporting the assets…", "Cancel", 0, 1,
                                 QApplication::activeWindow());
        progress.setWindowTitle("Export Assets");
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(kQuietMs);
        ExportResult result;
        try {
            result = ExportAssets(path, ExportFormatOf(path), keys, [&](int done, int total) {
                progress.setMaximum(total);
                progress.setValue(done);
                return !progress.wasCanceled();
            });
        } catch (const RuntimeError& error) {
            MsgBox(QString("The assets could not be exported to %1: %2.\n\nNothing was saved. "
                           "Choose another folder, or make room on the disk, and export again.")
                       .arg(Native(path), error.Description()),
                   BoxButtons::OK, BoxIcon::Exclamation, "Export Assets");
            return;
        }
        if (result.cutTexts > 0)
            MsgBox(QString("%1 texts are longer than a workbook cell holds (32,767 characters) and "
                           "end there in %2. A CSV export keeps every text whole.")
                       .arg(result.cutTexts)
                       .arg(Native(path)),
                   BoxButtons::OK, BoxIcon::Information, "Export Assets");
    });
}

void ImportAssetsCommand(const std::function<void()>& rebuild)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.ImportAssets ");
    QString path;
    trap(100, [&] {
        path = ChooseFile({FileRequest::Mode::Open,
                           "Import Assets",
                           QDir::homePath(),
                           {"CSV files (*.csv *.txt)", "All files (*)"}});
    });
    if (path.isEmpty())
        return;
    ImportPlan plan;
    bool planned = false;
    trap(102, [&] {
        QFile file(path);
        try {
            if (!file.open(QIODevice::ReadOnly))
                throw FileError(file.errorString());
            plan = PlanImport(file);
            planned = true;
        } catch (const FileError& error) {
            MsgBox(QString("%1 cannot be imported: %2.\n\nNothing was imported.")
                       .arg(Native(path), error.Description()),
                   BoxButtons::OK, BoxIcon::Exclamation, "Import Assets");
        }
    });
    if (!planned)
        return;
    bool accepted = false;
    trap(104, [&] {
        ImportSummary summary(QFileInfo(path).fileName(), plan, QApplication::activeWindow());
        ShowModal(summary);
        accepted = summary.result() == QDialog::Accepted;
    });
    if (!accepted)
        return;
    // Nothing has been written up to here; a step that must come before the import's writes
    // (a backup of the inventory) runs at this point.
    trap(106, [&] { ExecuteAllOrNothing(plan.statements); });
    trap(108, [&] { rebuild(); });
}
