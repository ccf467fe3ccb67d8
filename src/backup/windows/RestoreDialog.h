#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// "1,505 assets", "1 asset".
QString AssetsText(long long count);

// Restore: lists the automatic backups with their date, cause, number of assets and size, or
// lets the user choose another file; checks the chosen one and asks before it is taken.
// Closes accepted with ChosenPath() set; restoring is the caller's work.
class RestoreDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RestoreDialog(QWidget* parent = nullptr);

    // Reads the backup folder into the list, newest first.
    void ListBackups();
    QString ChosenPath() const { return m_chosenPath; }
    // "the backup of 8 Dec 2026 09:14", "the file Tarnwick 2026-12-08.mdb of 8 Dec 2026 17:30"
    QString ChosenDescription() const { return m_chosenDescription; }

    QTreeWidget* lstBackups = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdOtherFile = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    // Restore: the selected backup.
    void cmdRestore_Click();
    // Other File…: a file chosen in a file dialog.
    void cmdOtherFile_Click();
    // Checks the file and asks; true when the user answered Yes.
    bool Confirmed(const QString& path, const QString& what);

    QLabel* m_intro = nullptr;
    QString m_chosenPath;
    QString m_chosenDescription;
};
