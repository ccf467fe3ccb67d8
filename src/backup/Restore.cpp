#include "backup/Restore.h"

#include "backup/Backups.h"
#include "backup/SqliteFile.h"
#include "data/Provisioning.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Schema.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

[[noreturn]] void Refuse(const QString& path, const QString& reason)
{
    throw RuntimeError(QFileInfo(path).fileName() + " cannot be restored: " + reason);
}

// Every table and column of the working database, and the query qryAssets.
void CheckTables(const QString& path, sqlite3* file)
{
    const Schema wanted = LoadSchema(WorkingDatabaseHandle());
    const Schema found = LoadSchema(file);
    for (auto table = wanted.relations.cbegin(); table != wanted.relations.cend(); ++table) {
        if (!table->isTable || table.key().startsWith(QLatin1String("sqlite_")))
            continue;
        const Schema::Relation* other = found.Find(table.key());
        if (!other || !other->isTable)
            Refuse(path, "it is no Tarnwick inventory (it has no table " + table.key() + ").");
        for (auto column = table->columns.cbegin(); column != table->columns.cend(); ++column)
            if (!other->columns.contains(column.key()))
                Refuse(path, "it is no Tarnwick inventory (its table " + table.key() +
                                 " has no column " + column.key() + ").");
    }
    const Schema::Relation* query = found.Find(QStringLiteral("qryAssets"));
    if (!query || query->isTable)
        Refuse(path, "it is no Tarnwick inventory (it has no query qryAssets).");
}

} // namespace

long long CheckRestorable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        Refuse(path, "there is no such file.");
    if (info == QFileInfo(WorkingDatabasePath()))
        Refuse(path, "it is the inventory in use.");
    const SqliteFile file(path, SQLITE_OPEN_READONLY);
    QString check;
    try {
        check = file.Scalar(QStringLiteral("PRAGMA integrity_check"));
    } catch (const RuntimeError&) {
        const int code = sqlite3_errcode(file.Handle());
        Refuse(path, code == SQLITE_NOTADB
                         ? QStringLiteral("it is no database.")
                         : "it is damaged (" + QString::fromUtf8(sqlite3_errstr(code)) + ").");
    }
    if (check != QLatin1String("ok"))
        Refuse(path, "it is damaged (" + check.section('\n', 0, 0) + ").");
    CheckTables(path, file.Handle());
    try {
        return file.Scalar(QStringLiteral("select count(*) from qryAssets")).toLongLong();
    } catch (const RuntimeError& error) {
        Refuse(path, "its query qryAssets cannot be read (" + error.Description() + ").");
    }
}

void ReplaceWorkingDatabase(const QString& path)
{
    sqlite3* working = WorkingDatabaseHandle();
    // Forgotten first: should the copy or the note fail, the next backup is made, not skipped.
    NoteRestoredFrom(QString());
    {
        const SqliteFile file(path, SQLITE_OPEN_READONLY);
        CopyDatabase(file.Handle(), working, "the backup " + path + " into the inventory");
    }
    NoteRestoredFrom(path);
}
