#pragma once

#include "platform/adodb/Schema.h"

#include <QList>
#include <QStringList>

// The inventory's tables, indexes and views as the template dbBlank.mdb beside the program
// defines them: what a server database is set up with, and what copying an inventory copies.
struct TemplateSchema
{
    struct Index
    {
        QString name;
        QString table;
        QStringList columns;
    };
    struct View
    {
        QString name;
        QString definition; // CREATE VIEW … in the program's dialect
    };
    Schema schema;
    QStringList tables; // by name, SQLite's own left out
    QList<Index> indexes;
    QList<View> views;
};

// Reads the template; throws RuntimeError when it is missing or cannot be read.
TemplateSchema ReadTemplateSchema();
