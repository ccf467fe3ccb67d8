#include "backup/windows/BackupCommands.h"

#include "backup/Backups.h"
#include "backup/Restore.h"
#include "backup/windows/RestoreDialog.h"
#include "common/ErrorTrap.h"
#include "platform/os/Clock.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/Modal.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

void BackUpCommand(QWidget& owner)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.BackUpCommand ");
    QFileDialog files(nullptr, "Back Up",
                      QDir::homePath() + "/Tarnwick " + Today().toString(Qt::ISODate) + ".mdb",
                      "Tarnwick inventories (*.mdb);;All files (*)");
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setDefaultSuffix("mdb");
    ShowModal(files, &owner);
    const QString path = files.result() == QDialog::Accepted ? files.selectedFiles().value(0) : "";
    if (path.isEmpty() || !trap(100, [&] { WriteBackup(path); }))
        return;
    trap(102, [&] {
        MsgBox("The inventory (" + AssetsText(WorkingAssetCount()) + ") was backed up to " +
                   QDir::toNativeSeparators(path) + ".",
               BoxButtons::OK, BoxIcon::Information, "Back Up");
    });
}

void RestoreCommand(QWidget& owner, const std::function<void()>& rebuildList)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.RestoreCommand ");
    RestoreDialog dialog;
    trap(100, [&] {
        dialog.ListBackups();
        ShowModal(dialog, &owner);
    });
    const QString path = dialog.ChosenPath();
    QString before;
    if (path.isEmpty() || !trap(102, [&] { before = BackUpBefore("Restore"); }))
        return;
    const bool restored = trap(104, [&] { ReplaceWorkingDatabase(path); });
    trap(106, rebuildList);
    if (restored)
        trap(108, [&] {
            MsgBox("The inventory now holds the " + AssetsText(WorkingAssetCount()) + " of " +
                       dialog.ChosenDescription() + ". What it held before is kept in the backup " +
                       QFileInfo(before).completeBaseName() + ".",
                   BoxButtons::OK, BoxIcon::Information, "Restore");
        });
}
