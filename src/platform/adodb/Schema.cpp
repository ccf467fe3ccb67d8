#include "platform/adodb/Schema.h"

#include "platform/adodb/Statement.h"

#include <sqlite3.h>

ColumnType ColumnTypeFromDeclaration(const char* declaration)
{
    if (!declaration)
        return ColumnType::Undeclared;
    const QString type = QString::fromUtf8(declaration).toUpper();
    const auto has = [&](const char* word) { return type.contains(QLatin1String(word)); };
    if (has("CURRENCY") || has("MONEY"))
        return ColumnType::Currency;
    if (has("DATE") || has("TIME"))
        return ColumnType::Date;
    if (has("BIT") || has("YESNO") || has("BOOL"))
        return ColumnType::Boolean;
    if (has("INT") || has("COUNTER") || has("LONG"))
        return ColumnType::Long;
    if (has("DOUBLE") || has("REAL") || has("FLOAT") || has("SINGLE"))
        return ColumnType::Double;
    if (has("TEXT") || has("CHAR") || has("MEMO") || has("CLOB"))
        return ColumnType::Text;
    return ColumnType::Undeclared;
}

const Schema::Relation* Schema::Find(const QString& name) const
{
    const auto it = relations.constFind(name.toLower());
    return it == relations.constEnd() ? nullptr : &*it;
}

ColumnType Schema::TypeOf(const QString& relation, const QString& column) const
{
    const Relation* found = Find(relation);
    return found ? found->columns.value(column.toLower(), ColumnType::Undeclared)
                 : ColumnType::Undeclared;
}

Schema LoadSchema(sqlite3* db)
{
    Schema schema;
    const QString listing = QStringLiteral("select name, type from sqlite_master "
                                           "where type in ('table', 'view')");
    Statement relations(db, listing);
    while (relations.Step()) {
        const QString name = relations.Text(0);
        Schema::Relation& relation = schema.relations[name.toLower()];
        relation.isTable = relations.Text(1) == QLatin1String("table");
        Statement columns(db, QStringLiteral("select name, type from pragma_table_info(?1)"));
        columns.Bind(1, name);
        while (columns.Step())
            relation.columns.insert(columns.Text(0).toLower(),
                                    ColumnTypeFromDeclaration(reinterpret_cast<const char*>(
                                        sqlite3_column_text(columns.Handle(), 1))));
    }
    return schema;
}
