#include "mainwindow/ExchangeCommands.h"

#include "backup/Backups.h"
#include "common/ErrorTrap.h"
#include "data/AllOrNothing.h"
#include "exchange/Csv.h"
#include "exchange/Export.h"
#include "exchange/Import.h"
#include "exchange/ImportSummary.h"
#include "platform/os/Clock.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Modal.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QRegularExpression>

namespace {

// Exports shorter than this show no progress.
constexpr int kQuietMs = 500;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The file chosen in `files`, shown modally over `owner`; "" when it was cancelled.
QString Chosen(QFileDialog& files, QWidget& owner)
{
    ShowModal(files, &owner);
    return files.result() == QDialog::Accepted ? files.selectedFiles().value(0) : QString();
}

// The suffix a name filter names: "xlsx" for "Excel workbook (*.xlsx)".
QString SuffixOf(const QString& filter)
{
    static const QRegularExpression suffix(QStringLiteral("\\*\\.(\\w+)"));
    return suffix.match(filter).captured(1);
}

} // namespace

void ExportAssetsCommand(QWidget& owner, ListView& list)
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
        QFileDialog files(nullptr, "Export Assets",
                          QDir::homePath() + "/Assets " + Today().toString(Qt::ISODate) + ".xlsx",
                          "Excel workbook (*.xlsx);;CSV, comma-separated (*.csv)");
        files.setAcceptMode(QFileDialog::AcceptSave);
        files.setDefaultSuffix("xlsx");
        // A name typed without a suffix takes the one of the format chosen.
        QObject::connect(
            &files, &QFileDialog::filterSelected, &files,
            [&files](const QString& filter) { files.setDefaultSuffix(SuffixOf(filter)); });
        path = Chosen(files, owner);
    });
    if (path.isEmpty())
        return;
    trap(104, [&] {
        QProgressDialog progress("Exporting the assets…", "Cancel", 0, 1, &owner);
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

void ImportAssetsCommand(QWidget& owner, const std::function<void()>& rebuild)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.ImportAssets ");
    QString path;
    trap(100, [&] {
        QFileDialog files(nullptr, "Import Assets", QDir::homePath(),
                          "CSV files (*.csv *.txt);;All files (*)");
        files.setFileMode(QFileDialog::ExistingFile);
        path = Chosen(files, owner);
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
        ImportSummary summary(QFileInfo(path).fileName(), plan);
        ShowModal(summary, &owner);
        accepted = summary.result() == QDialog::Accepted;
    });
    if (!accepted)
        return;
    // An import that cannot be backed up first is not started.
    trap(106, [&] {
        BackUpBefore("Import");
        ExecuteAllOrNothing(plan.statements);
    });
    trap(108, [&] { rebuild(); });
}
