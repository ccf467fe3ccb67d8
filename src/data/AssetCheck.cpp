#include "data/AssetCheck.h"

#include "data/SqlLiterals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"

RowSnapshot SnapshotOf(const Recordset& rs)
{
    RowSnapshot snapshot;
    snapshot.names = rs.FieldNames();
    for (int field = 0; field < rs.FieldCount(); ++field) {
        // A value that cannot be read (an amount beyond the currency range) is known by what
        // reading it says, which names the stored value.
        try {
            snapshot.values.append(rs.Fields(field).Value);
        } catch (const RuntimeError& error) {
            snapshot.values.append(Variant::FromString(error.Description()));
        }
    }
    return snapshot;
}

RowChange AssetChangeSince(Connection& connection, const QString& assetId, const RowSnapshot& read)
{
    const QString key = IdLiteral(assetId);
    Recordset locked;
    locked.Open("select AssetID from Assets where AssetID=" + key + " for update", connection);
    if (locked.Eof())
        return RowChange::Gone;
    Recordset now;
    now.Open("select * from qryAssets where AssetID=" + key, connection);
    if (now.Eof())
        return RowChange::Gone;
    return SnapshotOf(now) == read ? RowChange::None : RowChange::Changed;
}
