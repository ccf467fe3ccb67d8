#include "platform/ui/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

namespace {

FileChooser g_chooser;

// The first suffix a filter names: "xlsx" for "Excel workbook (*.xlsx)".
QString SuffixOf(const QString& filter)
{
    static const QRegularExpression suffix(QStringLiteral("\\*\\.(\\w+)"));
    return suffix.match(filter).captured(1);
}

QString ShowDialog(const FileRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.proposed);
    dialog.setNameFilters(request.filters);
    if (request.mode == FileRequest::Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        const QString proposedSuffix = QFileInfo(request.proposed).suffix();
        for (const QString& filter : request.filters)
            if (SuffixOf(filter) == proposedSuffix)
                dialog.selectNameFilter(filter);
        dialog.setDefaultSuffix(proposedSuffix);
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString ChooseFile(const FileRequest& request)
{
    return g_chooser ? g_chooser(request) : ShowDialog(request);
}

void SetFileChooser(FileChooser chooser)
{
    g_chooser = std::move(chooser);
}
