#pragma once

#include <QString>

// Checks that `path` holds a Tarnwick inventory that can replace the one open: an SQLite
// database that reads back whole, with every table and column of the working database (of
// the template, for a shared inventory) and the query qryAssets. Gives its number of assets; throws
// RuntimeError with the reason it cannot be restored ("… is not a database", "… is damaged", "… has
// no table Assets") and changes nothing.
long long CheckRestorable(const QString& path);

// The number of assets of a database file, read without checking it; throws when it cannot
// be read.
long long AssetCount(const QString& path);
// The number of assets of the inventory open.
long long WorkingAssetCount();

// Replaces the whole content of the inventory open on g_Conn with that of `path` in one write
// transaction: a crash (or a lost server) at any moment leaves the old content or the new
// one, never a mix. The local working database takes the file page by page with SQLite's
// online backup API; a shared inventory takes its rows, keys included (ReplaceInventory).
void ReplaceWorkingDatabase(const QString& path);
