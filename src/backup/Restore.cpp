#include "backup/Restore.h"

#include "backup/Backups.h"
#include "backup/SqliteFile.h"
#include "data/CopyInventory.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/adodb/Statement.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

[[noreturn]] void Refuse(const QString& path, const QString& reason)
{
    throw RuntimeError(QFileInfo(path).fileName() + " cannot be restored: " + reason);
}

// Every table and column of `inventory` (the working database, or for a shared one the
// template it was set up from), and the query qryAssets.
void CheckTables(const QString& path, sqlite3* file, sqlite3* inventory)
{
    Statement wanted(inventory,
                     QStringLiteral("select m.name, c.name from sqlite_master m, "
                                    "pragma_table_info(m.name) c where m.type = 'table' and "
                                    "m.name not like 'sqlite\\_%' escape '\\'"));
    while (wanted.Step()) {
        const QString table = wanted.Text(0);
        Statement found(file, QStringLiteral("select (select count(*) from sqlite_master where "
                                             "type = 'table' and name = ?1 collate nocase), "
                                             "(select count(*) from pragma_table_info(?1) "
                                             "where name = ?2 collate nocase)"));
        found.Bind(1, table);
        found.Bind(2, wanted.Text(1));
        found.Step();
        if (found.Text(0) == QLatin1String("0"))
            Refuse(path, "it is not a Tarnwick inventory (it has no table " + table + ").");
        if (found.Text(1) == QLatin1String("0"))
            Refuse(path, "it is not a Tarnwick inventory (its table " + table + " has no column " +
                             wanted.Text(1) + ").");
    }
    Statement query(file, QStringLiteral("select count(*) from sqlite_master where type = "
                                         "'view' and name = 'qryAssets' collate nocase"));
    query.Step();
    if (query.Text(0) == QLatin1String("0"))
        Refuse(path, "it is not a Tarnwick inventory (it has no query qryAssets).");
}

long long CountAssets(sqlite3* db)
{
    Statement count(db, QStringLiteral("select count(*) from qryAssets"));
    count.Step();
    return sqlite3_column_int64(count.Handle(), 0);
}

} // namespace

long long CheckRestorable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        Refuse(path, "there is no such file.");
    const bool shared = SharedConnection().IsShared();
    if (!shared && info == QFileInfo(WorkingDatabasePath()))
        Refuse(path, "it is the inventory in use.");
    const SqliteFile file(path, SQLITE_OPEN_READONLY);
    QString check;
    try {
        check = file.Scalar(QStringLiteral("PRAGMA integrity_check"));
    } catch (const RuntimeError&) {
        const int code = sqlite3_errcode(file.Handle());
        Refuse(path, code == SQLITE_NOTADB
                         ? QStringLiteral("it is not a database.")
                         : "it is damaged (" + QString::fromUtf8(sqlite3_errstr(code)) + ").");
    }
    if (check != QLatin1String("ok"))
        Refuse(path, "it is damaged (" + check.section('\n', 0, 0) + ").");
    if (shared)
        CheckTables(path, file.Handle(), SqliteFile(TemplatePath(), SQLITE_OPEN_READONLY).Handle());
    else
        CheckTables(path, file.Handle(), WorkingDatabaseHandle());
    try {
        return CountAssets(file.Handle());
    } catch (const RuntimeError& error) {
        Refuse(path, "its query qryAssets cannot be read (" + error.Description() + ").");
    }
}

long long AssetCount(const QString& path)
{
    return CountAssets(SqliteFile(path, SQLITE_OPEN_READONLY).Handle());
}

long long WorkingAssetCount()
{
    Recordset count;
    count.Open(QStringLiteral("select count(*) from qryAssets"), SharedConnection());
    return count.Fields(0).Value.longValue();
}

void ReplaceWorkingDatabase(const QString& path)
{
    if (SharedConnection().IsShared()) {
        Connection file;
        file.Open(FileConnectionString(path));
        ReplaceInventory(file, *g_Conn);
        return;
    }
    sqlite3* working = WorkingDatabaseHandle();
    // Forgotten first: should the copy or the note fail, the next backup is made, not skipped.
    NoteRestoredFrom(QString());
    {
        const SqliteFile file(path, SQLITE_OPEN_READONLY);
        CopyDatabase(file.Handle(), working, "the backup " + path + " into the inventory");
    }
    NoteRestoredFrom(path);
}
