#include "common/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// The shell's number of the data folder shared by the user's programs.
constexpr int kCommonAppData = 35;

// A folder path without trailing separators and without surrounding blanks; the root stays "/".
QString Trimmed(QString path)
{
    path.remove(QChar(0));
    path = path.trimmed();
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}
} // namespace

namespace {
// The desktop's rule: $XDG_DATA_HOME when set to an absolute path, else ~/.local/share.
QString DataHome()
{
    const QString dataHome = Trimmed(qEnvironmentVariable("XDG_DATA_HOME"));
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return dataHome;
    const QString home = Trimmed(QDir::homePath());
    if (home.isEmpty())
        return QString();
    return Trimmed(home + "/.local/share");
}
} // namespace

QString GetSpecialFolder(int folder)
{
    if (folder != kCommonAppData)
        return QString();
    // Callers make only their own folders inside this one, which a new account may not have
    // yet; a failure here shows when they make theirs.
    const QString dataHome = DataHome();
    if (!dataHome.isEmpty())
        QDir().mkpath(dataHome);
    return dataHome;
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    // A file whose modification time can be read; a folder is no file.
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && info.lastModified().isValid();
}

bool EntryExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    // exists() follows links; a dangling link is still an entry of that name.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
