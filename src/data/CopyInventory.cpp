#include "data/CopyInventory.h"

#include "data/Provisioning.h"
#include "data/TemplateSchema.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"

#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {

long long Count(Connection& connection, const QString& table)
{
    Recordset rs;
    rs.Open("select count(*) from [" + table + "]", connection);
    return rs.Fields(0).Value.longValue();
}

void RequireEmpty(Connection& to, const QStringList& tables)
{
    for (const QString& table : tables)
        if (const long long rows = Count(to, table); rows > 0)
            throw RuntimeError(QStringLiteral("The inventory to copy into is not empty: its "
                                              "table %1 holds %2 rows. Copy only into an empty "
                                              "one.")
                                   .arg(table)
                                   .arg(rows));
}

void CopyTable(Connection& from, Connection& to, const QString& table, const QString& key)
{
    Recordset rows;
    rows.Open("select * from [" + table + "] order by [" + key + "]", from);
    to.Database().AppendRows(table, rows);
    if (const long long arrived = Count(to, table); arrived != rows.RecordCount())
        throw RuntimeError(QStringLiteral("The copy of the table %1 holds %2 rows instead of %3")
                               .arg(table)
                               .arg(arrived)
                               .arg(rows.RecordCount()));
    std::int64_t highest = from.Database().KeysUsed(table);
    if (rows.RecordCount() > 0) {
        rows.MoveFirst();
        for (; !rows.Eof(); rows.MoveNext())
            highest = std::max<std::int64_t>(highest, rows.Fields(key).Value.longValue());
    }
    to.Database().ContinueKeysAfter(table, std::max(highest, to.Database().KeysUsed(table)));
}

enum class Target { Empty, Replaced };

void Copy(Connection& from, Connection& to, Target target, const CopyProgress& progress)
{
    const TemplateSchema schema = ReadTemplateSchema();
    from.BeginTrans(TransactionKind::Snapshot);
    try {
        to.BeginTrans();
        try {
            if (target == Target::Empty)
                RequireEmpty(to, schema.tables);
            else
                for (const QString& table : schema.tables)
                    to.Execute("delete from [" + table + "]");
            for (int done = 0; done < schema.tables.size(); ++done) {
                const QString& table = schema.tables[done];
                if (progress)
                    progress(table, done, int(schema.tables.size()));
                CopyTable(from, to, table, schema.schema.Find(table)->key);
            }
            to.CommitTrans();
        } catch (...) {
            to.RollbackTrans();
            throw;
        }
    } catch (...) {
        from.RollbackTrans();
        throw;
    }
    from.RollbackTrans();
}

} // namespace

void CopyInventory(Connection& from, Connection& to, const CopyProgress& progress)
{
    Copy(from, to, Target::Empty, progress);
}

void ReplaceInventory(Connection& from, Connection& to)
{
    Copy(from, to, Target::Replaced, {});
}

void CopyInventoryToFile(Connection& from, const QString& path)
{
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(TemplatePath(), partial))
        throw RuntimeError(
            "Path/File access error: cannot make " + partial + " from the template database", 75);
    QFile::setPermissions(partial,
                          QFile::permissions(partial) | QFile::WriteOwner | QFile::ReadOwner);
    try {
        Connection to;
        to.Open(FileConnectionString(partial));
        CopyInventory(from, to);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(partial);
        throw RuntimeError("Path/File access error: cannot rename " + partial + " to " + path, 75);
    }
}
