#include "platform/os/ProgramFolder.h"

#include <QCoreApplication>

namespace {
// The folder a test puts in place of the program's own; empty when none is set.
QString g_testFolder;
} // namespace

QString ProgramFolder()
{
    if (!g_testFolder.isEmpty())
        return g_testFolder;
    // applicationDirPath resolves links, so a program started through a link in bin/ still
    // finds the template that lies beside the real program file.
    QString folder = QCoreApplication::applicationDirPath();
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    return folder;
}

void SetProgramFolderForTesting(const QString& folder)
{
    g_testFolder = folder;
}
