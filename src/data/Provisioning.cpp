#include "data/Provisioning.h"

#include "common/Files.h"
#include "platform/RuntimeError.h"
#include "platform/os/ProgramFolder.h"

#include <QDir>
#include <QFile>

namespace {

// The shell's folder number of the data folder shared by the user's programs.
constexpr int kCommonAppData = 35;

QString VelquorFolder()
{
    return GetSpecialFolder(kCommonAppData) + QStringLiteral("/Velquor");
}

// One level only: the folder above is expected to exist. An existing file or folder of that
// name counts as present.
void CreateFolderUnlessPresent(const QString& path)
{
    if (EntryExists(path))
        return;
    if (!QDir().mkdir(path))
        throw RuntimeError("Path/File access error: cannot create the folder " + path, 75);
}

// Copies under a temporary name first: a copy cut short (full disk) must not be left as a
// working database that the next start would take as present and never replace.
void CopyTemplate(const QString& from, const QString& to)
{
    if (!QFile::exists(from))
        throw RuntimeError("File not found: the template database " + from, 53);
    const QString partial = to + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(from, partial)) {
        QFile::remove(partial);
        throw RuntimeError("Path/File access error: cannot copy " + from + " to " + to, 75);
    }
    // The copy must be writable even when the template was installed read-only.
    QFile::setPermissions(partial,
                          QFile::permissions(partial) | QFile::WriteOwner | QFile::ReadOwner);
    if (!QFile::rename(partial, to)) {
        QFile::remove(partial);
        throw RuntimeError("Path/File access error: cannot copy " + from + " to " + to, 75);
    }
}

} // namespace

QString DataFolder()
{
    return VelquorFolder() + QStringLiteral("/Tarnwick");
}

QString WorkingDatabasePath()
{
    return DataFolder() + QStringLiteral("/dbData.mdb");
}

QString TemplatePath()
{
    return ProgramFolder() + QStringLiteral("/dbBlank.mdb");
}

QString FileConnectionString(const QString& path)
{
    return QStringLiteral("provider=microsoft.jet.oledb.4.0;data source=") + path +
           QStringLiteral(";JET OLEDB:Database Password=");
}

QString ConnectionString()
{
    return FileConnectionString(WorkingDatabasePath());
}

void ProvisionDatabase()
{
    CreateFolderUnlessPresent(VelquorFolder());
    CreateFolderUnlessPresent(DataFolder());
    if (!FileExists(WorkingDatabasePath()))
        CopyTemplate(TemplatePath(), WorkingDatabasePath());
}
