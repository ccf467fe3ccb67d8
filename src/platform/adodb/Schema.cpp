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

const Schema::Column* Schema::Relation::FindColumn(const QString& column) const
{
    for (const Column& c : columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const Schema::Relation* Schema::Find(const QString& name) const
{
    const auto it = relations.constFind(name.toLower());
    return it == relations.constEnd() ? nullptr : &*it;
}

ColumnType Schema::TypeOf(const QString& relation, const QString& column) const
{
    const Relation* found = Find(relation);
    const Column* c = found ? found->FindColumn(column) : nullptr;
    return c ? c->type : ColumnType::Undeclared;
}

QString Schema::Spelling(const QString& name) const
{
    return m_spellings.value(name.toLower());
}

void Schema::Add(Relation relation)
{
    m_spellings.insert(relation.name.toLower(), relation.name);
    for (const Column& column : relation.columns)
        m_spellings.insert(column.name.toLower(), column.name);
    const QString key = relation.name.toLower();
    relations.insert(key, std::move(relation));
}

Schema LoadSchema(sqlite3* db)
{
    Schema schema;
    const QString listing = QStringLiteral("select name, type from sqlite_master "
                                           "where type in ('table', 'view')");
    Statement relations(db, listing);
    while (relations.Step()) {
        Schema::Relation relation;
        relation.name = relations.Text(0);
        relation.isTable = relations.Text(1) == QLatin1String("table");
        Statement columns(db, QStringLiteral("select name, type, pk from pragma_table_info(?1)"));
        columns.Bind(1, relation.name);
        while (columns.Step()) {
            relation.columns.append(
                {columns.Text(0), ColumnTypeFromDeclaration(reinterpret_cast<const char*>(
                                      sqlite3_column_text(columns.Handle(), 1)))});
            if (sqlite3_column_int(columns.Handle(), 2) == 1)
                relation.key = columns.Text(0);
        }
        schema.Add(std::move(relation));
    }
    return schema;
}
