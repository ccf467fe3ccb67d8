#pragma once

#include <QHash>
#include <QString>

struct sqlite3;

// How a value of a column is typed, from the column's declared type.
enum class ColumnType { Undeclared, Long, Double, Currency, Date, Text, Boolean };

// INTEGER/COUNTER/LONG → Long, DOUBLE/REAL/FLOAT/SINGLE → Double, CURRENCY/MONEY → Currency,
// DATETIME/DATE → Date, TEXT/CHAR/MEMO → Text, BIT/YESNO/BOOLEAN → Boolean; anything else
// (or no declaration, as for an expression) is typed by the value that is stored.
ColumnType ColumnTypeFromDeclaration(const char* declaration);

// The declared types of every column of the database's tables and views, by lower-case name.
struct Schema
{
    struct Relation
    {
        bool isTable = false;
        QHash<QString, ColumnType> columns;
    };
    QHash<QString, Relation> relations;

    const Relation* Find(const QString& name) const;
    ColumnType TypeOf(const QString& relation, const QString& column) const;
};

// Reads the schema; throws RuntimeError when the database cannot be read.
Schema LoadSchema(sqlite3* db);
