#pragma once

#include <QHash>
#include <QList>
#include <QString>

struct sqlite3;

// How a value of a column is typed, from the column's declared type.
enum class ColumnType { Undeclared, Long, Double, Currency, Date, Text, Boolean };

// INTEGER/COUNTER/LONG → Long, DOUBLE/REAL/FLOAT/SINGLE → Double, CURRENCY/MONEY → Currency,
// DATETIME/DATE → Date, TEXT/CHAR/MEMO → Text, BIT/YESNO/BOOLEAN → Boolean; anything else
// (or no declaration, as for an expression) is typed by the value that is stored.
ColumnType ColumnTypeFromDeclaration(const char* declaration);

// The tables and views of a database with their columns, found by name in any letter case.
struct Schema
{
    struct Column
    {
        QString name; // as the database spells it
        ColumnType type = ColumnType::Undeclared;
    };
    struct Relation
    {
        QString name; // as the database spells it
        bool isTable = false;
        QString key;           // the column whose values the engine generates; "" for a view
        QList<Column> columns; // in the order of their definition

        const Column* FindColumn(const QString& column) const;
    };
    QHash<QString, Relation> relations; // by lower-case name

    const Relation* Find(const QString& name) const;
    ColumnType TypeOf(const QString& relation, const QString& column) const;
    // The spelling of a relation or column name in the database, or "" when it has none.
    QString Spelling(const QString& name) const;
    void Add(Relation relation);

private:
    QHash<QString, QString> m_spellings; // every relation and column name by lower case
};

// Reads the schema; throws RuntimeError when the database cannot be read.
Schema LoadSchema(sqlite3* db);
