#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Every file dialog of the program goes through here, so that tests can answer them.
struct FileRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    // The file proposed (Save) or the folder to start in (Open).
    QString proposed;
    // "Excel workbook (*.xlsx)", …; on Save the first suffix of the chosen filter is added to
    // a name typed without one.
    QStringList filters;
};

// The path chosen; "" when the dialog was cancelled.
QString ChooseFile(const FileRequest& request);

using FileChooser = std::function<QString(const FileRequest& request)>;
// Answers every file dialog from now on; an empty function restores the real dialogs.
void SetFileChooser(FileChooser chooser);
