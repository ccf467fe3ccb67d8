#pragma once

#include <QString>

// The folder that holds the working database: <data folder>/Velquor/Tarnwick.
QString DataFolder();
// <data folder>/Velquor/Tarnwick/dbData.mdb
QString WorkingDatabasePath();
// <program folder>/dbBlank.mdb: the empty inventory that every new one is made from.
QString TemplatePath();
// "provider=microsoft.jet.oledb.4.0;data source=<path>;JET OLEDB:Database Password="
QString FileConnectionString(const QString& path);
// The connection string of the working database.
QString ConnectionString();

// Creates the two folders (one level per step, skipping an existing file or folder of that
// name) and copies the template dbBlank.mdb from the program folder when the working
// database does not exist. An existing working database is never touched. Throws
// RuntimeError when a folder cannot be created or the copy fails.
void ProvisionDatabase();
