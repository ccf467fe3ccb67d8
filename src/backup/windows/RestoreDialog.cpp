#include "backup/windows/RestoreDialog.h"

#include "backup/BackupNames.h"
#include "backup/Backups.h"
#include "backup/Restore.h"
#include "common/Window.h"
#include "platform/RuntimeError.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/Modal.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Restore");

enum Column { Date, Cause, Assets, Size };

QString WhenText(const QDateTime& time)
{
    return QLocale().toString(time, QStringLiteral("d MMM yyyy HH:mm"));
}

} // namespace

QString AssetsText(long long count)
{
    return QLocale().toString(count) + (count == 1 ? " asset" : " assets");
}

RestoreDialog::RestoreDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("RestoreDialog");
    setWindowTitle(kTitle);
    setFont(ArialFont(9, true));
    resize(620, 380);

    m_intro = new QLabel(this);
    m_intro->setWordWrap(true);
    lstBackups = new QTreeWidget(this);
    lstBackups->setObjectName("lstBackups");
    lstBackups->setAccessibleName("Backups");
    lstBackups->setRootIsDecorated(false);
    lstBackups->setUniformRowHeights(true);
    lstBackups->setHeaderLabels({"Date", "Made", "Assets", "Size"});
    lstBackups->headerItem()->setTextAlignment(Assets, Qt::AlignRight | Qt::AlignVCenter);
    lstBackups->headerItem()->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
    lstBackups->header()->setStretchLastSection(false);
    lstBackups->header()->setSectionResizeMode(Cause, QHeaderView::Stretch);

    auto* buttons = new QHBoxLayout;
    cmdOtherFile = AddDialogButton(*this, *buttons, "cmdOtherFile", "&Other File…");
    buttons->addStretch();
    cmdRestore = AddDialogButton(*this, *buttons, "cmdRestore", "&Restore");
    cmdCancel = AddDialogButton(*this, *buttons, "cmdCancel", "Cancel");
    cmdRestore->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(lstBackups, 1);
    layout->addLayout(buttons);

    connect(cmdRestore, &QPushButton::clicked, this, &RestoreDialog::cmdRestore_Click);
    connect(cmdOtherFile, &QPushButton::clicked, this, &RestoreDialog::cmdOtherFile_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the list reaches the default button, Restore, by itself.
    connect(lstBackups, &QTreeWidget::itemDoubleClicked, this, &RestoreDialog::cmdRestore_Click);
}

void RestoreDialog::ListBackups()
{
    lstBackups->clear();
    for (const BackupEntry& backup : ::ListBackups(BackupFolder())) {
        QString assets;
        try {
            assets = QLocale().toString(AssetCount(backup.path));
        } catch (const RuntimeError&) {
            assets = "unreadable";
        }
        auto* item = new QTreeWidgetItem(
            lstBackups, {WhenText(backup.time), backup.cause, assets,
                         QLocale().formattedDataSize(QFileInfo(backup.path).size(), 1,
                                                     QLocale::DataSizeTraditionalFormat)});
        item->setData(Date, Qt::UserRole, backup.path);
        item->setTextAlignment(Assets, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (const Column column : {Date, Assets, Size})
        lstBackups->resizeColumnToContents(column);
    lstBackups->setCurrentItem(lstBackups->topLevelItem(0));
    cmdRestore->setEnabled(lstBackups->topLevelItemCount() > 0);
    m_intro->setText(
        (lstBackups->topLevelItemCount() > 0
             ? QStringLiteral("Tarnwick backs up the inventory every day and before every "
                              "command that deletes or replaces many rows. Choose the backup to "
                              "bring back; the inventory as it is now is backed up first.")
             : QStringLiteral("No backups have been made yet.")) +
        "\nBackups are kept in " + QDir::toNativeSeparators(BackupFolder()) + ".");
}

void RestoreDialog::cmdRestore_Click()
{
    const QTreeWidgetItem* item = lstBackups->currentItem();
    if (!item)
        return;
    const QString path = item->data(Date, Qt::UserRole).toString();
    if (Confirmed(path, "the backup of " + item->text(Date)))
        accept();
}

void RestoreDialog::cmdOtherFile_Click()
{
    QFileDialog files(nullptr, "Restore From", QDir::homePath(),
                      "Tarnwick inventories (*.mdb);;All files (*)");
    files.setFileMode(QFileDialog::ExistingFile);
    ShowModal(files, this);
    const QString path = files.result() == QDialog::Accepted ? files.selectedFiles().value(0) : "";
    if (!path.isEmpty() && Confirmed(path, "the file " + QFileInfo(path).fileName() + " of " +
                                               WhenText(QFileInfo(path).lastModified())))
        accept();
}

bool RestoreDialog::Confirmed(const QString& path, const QString& what)
{
    long long assets = 0;
    long long current = 0;
    try {
        assets = CheckRestorable(path);
        current = WorkingAssetCount();
    } catch (const RuntimeError& error) {
        MsgBox(error.Description() + "\n\nThe inventory was not changed.", BoxButtons::OK,
               BoxIcon::Exclamation, kTitle);
        return false;
    }
    if (MsgBox("Replace the current inventory (" + AssetsText(current) + ") with " + what + " (" +
                   AssetsText(assets) + ")?",
               BoxButtons::YesNo, BoxIcon::Question, kTitle, BoxDefault::Second) != BoxAnswer::Yes)
        return false;
    m_chosenPath = path;
    m_chosenDescription = what;
    return true;
}
