#pragma once

#include <QString>
#include <functional>

class Connection;

// Told before each table is copied: its name, the number of tables copied so far and of all.
using CopyProgress = std::function<void(const QString& table, int done, int total)>;

// Copies every table of the inventory `from` into the inventory `to`, keys included: a
// local file to a server, or a server to a local file. `to` must hold no rows at all. The
// copy is one transaction on `to`, reads `from` as it stands at its start, checks that every
// table arrived whole, and makes `to` give keys after the highest that `from` ever gave, so
// that no key of a deleted row comes back. Throws RuntimeError, with `to` left as it was,
// on any failure.
void CopyInventory(Connection& from, Connection& to, const CopyProgress& progress = {});

// The same into an inventory that holds rows: its rows are deleted first, in the same
// transaction, so that `to` holds either what it held or what `from` holds. Keys go on after
// the highest either of them ever gave.
void ReplaceInventory(Connection& from, Connection& to);

// Writes the inventory `from` into a new local file of the program's own format at `path`,
// made from the template: under a temporary name first, renamed into place (replacing a
// file there) only when the copy is whole.
void CopyInventoryToFile(Connection& from, const QString& path);
