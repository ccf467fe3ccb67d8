#pragma once

#include <QString>

// Copies of the working database, taken over the shared connection g_Conn with SQLite's
// online backup API (never by copying the open file). Every failure throws RuntimeError; the
// commands' error traps report it.

// The folder of the automatic backups: "Backups" beside the working database.
QString BackupFolder();

// Writes a copy of the working database to `path`: under a temporary name beside it, checked
// with integrity_check, then renamed over `path`, so `path` is never a partial copy.
void WriteBackup(const QString& path);

// An automatic backup into BackupFolder(), named by the time and `cause`, unless nothing
// changed since the last one; then the folder is kept to the keeping rule. Gives the backup
// that holds the working database's content now.
QString MakeAutomaticBackup(const QString& cause);

// The automatic backup before a command that deletes many rows or replaces data; when it
// fails the command must not run, and the error says so. Gives the backup that holds the
// content the command is about to change.
QString BackUpBefore(const QString& command);

// At start-up: the day's backup, unless one was made today or no inventory is open.
void DailyBackup();

// After the working database was replaced by the content of `path`: notes whether that
// content is already an automatic backup, so that the next backup is skipped only then
// (an empty path notes that it is not).
void NoteRestoredFrom(const QString& path);
