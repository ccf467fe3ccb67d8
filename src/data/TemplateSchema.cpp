#include "data/TemplateSchema.h"

#include "data/Provisioning.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Statement.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

// Closes the template however the reading ends.
struct TemplateFile
{
    sqlite3* db = nullptr;
    ~TemplateFile() { sqlite3_close(db); }
};

} // namespace

TemplateSchema ReadTemplateSchema()
{
    const QString path = TemplatePath();
    if (!QFileInfo(path).isFile())
        throw RuntimeError("File not found: the template database " + path, 53);
    TemplateFile file;
    if (sqlite3_open_v2(path.toUtf8().constData(), &file.db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        throw RuntimeError("Cannot read the template database " + path + ": " +
                           QString::fromUtf8(sqlite3_errmsg(file.db)));
    TemplateSchema result;
    result.schema = LoadSchema(file.db);
    Statement entries(file.db, QStringLiteral("select type, name, tbl_name, sql from sqlite_master "
                                              "where sql is not null and name not like 'sqlite%' "
                                              "order by name"));
    while (entries.Step()) {
        const QString type = entries.Text(0);
        const QString name = entries.Text(1);
        if (type == QLatin1String("table")) {
            result.tables << name;
        } else if (type == QLatin1String("view")) {
            result.views.append({name, entries.Text(3)});
        } else if (type == QLatin1String("index")) {
            TemplateSchema::Index index{name, entries.Text(2), {}};
            Statement columns(
                file.db, QStringLiteral("select name from pragma_index_info(?1) order by seqno"));
            columns.Bind(1, name);
            while (columns.Step())
                index.columns << columns.Text(0);
            result.indexes.append(index);
        }
    }
    return result;
}
