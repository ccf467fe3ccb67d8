#pragma once

#include <QString>

// Copies of the inventory open on the shared connection g_Conn, always database files of the
// program's own format: of the local working database taken with SQLite's online backup API
// (never by copying the open file), of a shared inventory copied row by row from the server
// (CopyInventoryToFile), so that it can be restored, or taken away, on one machine. Every
// failure throws RuntimeError; the commands' error traps report it.

// The folder of the automatic backups: "Backups" beside the working database, and for a
// shared inventory a folder in it named after the inventory ("inventory@db.example:5432"),
// so that the backups of different inventories never mix.
QString BackupFolder();

// Writes a copy of the inventory to `path`: under a temporary name beside it, checked with
// integrity_check, then renamed over `path`, so `path` is never a partial copy. The local
// working database is never replaced by a backup.
void WriteBackup(const QString& path);

// An automatic backup into BackupFolder(), named by the time and `cause`, unless the local
// working database did not change since the last one; then the folder is kept to the keeping
// rule. Gives the backup that holds the inventory's content now.
QString MakeAutomaticBackup(const QString& cause);

// The automatic backup before a command that deletes many rows or replaces data; when it
// fails the command must not run, and the error says so. Gives the backup that holds the
// content the command is about to change.
QString BackUpBefore(const QString& command);

// When the day's backup is made: when an inventory opens (at start-up or when the user opens
// another), or when the program closes.
enum class DailyMoment { Opening, Closing };
// The day's backup of the inventory open, unless one was made today: of the local file when
// it opens; of a shared inventory when the program closes, since that backup copies every row,
// and the start of a large inventory would wait for it.
void DailyBackup(DailyMoment moment = DailyMoment::Opening);

// After the local working database was replaced by the content of `path`: notes whether that
// content is already an automatic backup, so that the next backup is skipped only then
// (an empty path notes that it is not). Nothing to note for a shared inventory.
void NoteRestoredFrom(const QString& path);
