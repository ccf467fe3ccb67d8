#pragma once

#include <QString>

// Checks that `path` holds a Tarnwick inventory that can replace the working one: an SQLite
// database that reads back whole, with every table and column of the working database and
// the query qryAssets. Gives its number of assets; throws RuntimeError with the reason it
// cannot be restored ("… is not a database", "… is damaged", "… has no table Assets") and
// changes nothing.
long long CheckRestorable(const QString& path);

// The number of assets of a database file, read without checking it; throws when it cannot
// be read.
long long AssetCount(const QString& path);
// The number of assets of the working database.
long long WorkingAssetCount();

// Replaces the working database's whole content with that of `path` over g_Conn, with
// SQLite's online backup API in one write transaction: a crash at any moment leaves the old
// content or the new one, never a mix.
void ReplaceWorkingDatabase(const QString& path);
