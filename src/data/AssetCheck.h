#pragma once

#include "platform/value/Variant.h"

#include <QList>
#include <QStringList>

class Connection;
class Recordset;

// The fields of a row as a reader saw them, to find out later whether someone changed it.
struct RowSnapshot
{
    QStringList names;
    QList<Variant> values;

    bool operator==(const RowSnapshot&) const = default;
};
// The current row of an open recordset.
RowSnapshot SnapshotOf(const Recordset& rs);

enum class RowChange { None, Changed, Gone };

// For saving an asset that was read from qryAssets as `read`, inside the save's write
// transaction: locks the asset's row until the transaction ends (SELECT … FOR UPDATE on a
// server; the write transaction itself on a local file), reads it again, and tells whether
// someone changed or deleted it since. Two copies of the program that save the same asset
// at once are thus served one after the other, and the second one finds the first one's
// change.
RowChange AssetChangeSince(Connection& connection, const QString& assetId, const RowSnapshot& read);
