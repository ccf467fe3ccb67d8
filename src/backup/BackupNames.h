#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// An automatic backup, known by its file name: "2026-12-08 09.14.03 before Delete All.mdb".
struct BackupEntry
{
    QString path;
    QDateTime time;
    QString cause; // "daily", "before Delete All", …
};

// The file name of a backup made at `time` for `cause`.
QString BackupFileName(const QDateTime& time, const QString& cause);
// The automatic backups in `folder`, newest first. Files named otherwise are not backups
// of the program's and are never listed, kept or removed by it.
QList<BackupEntry> ListBackups(const QString& folder);

// The keeping rule over `backups`, newest first as ListBackups gives them: the newest 20,
// the newest of each of the last 30 days, the newest of each month of the last year, and
// `keep` (the backup just made and checked, so at least one good backup always stays).
// Gives the others, which are to be removed.
QList<BackupEntry> BackupsToRemove(const QList<BackupEntry>& backups, const QDateTime& now,
                                   const QString& keep);
