#include "exchange/ExportSheets.h"

#include "data/AssetColumns.h"
#include "data/Globals.h"
#include "platform/adodb/Recordset.h"

#include <QHash>
#include <algorithm>
#include <limits>

namespace {

// Rows between two calls of the progress.
constexpr int kProgressStep = 2000;

// One history table: its sheet, its captions and the query that gives its rows by asset.
struct History
{
    const char* sheet;
    QStringList captions;
    const char* query;
};

const History kHistories[] = {
    {"Maintenance",
     {"Asset ID", "Date", "Description", "Performed By", "Cost"},
     "select AssetID, MaintenanceDate, MaintenanceDescription, MaintenancePerformedBy, "
     "MaintenanceCost from Maintenance order by AssetID, MaintenanceDate, MaintenanceID"},
    {"Depreciation",
     {"Asset ID", "Date", "Amount"},
     "select AssetID, DepreciationDate, DepreciationAmount from Depreciation "
     "order by AssetID, DepreciationDate, DepreciationID"},
};

// Counts rows and asks the progress now and then.
class Counter
{
public:
    Counter(const ExportProgress& progress, int total) : m_progress(progress), m_total(total) {}
    bool Step()
    {
        ++m_done;
        return m_done % kProgressStep != 0 || !m_progress || m_progress(m_done, m_total);
    }

private:
    const ExportProgress& m_progress;
    int m_total;
    int m_done = 0;
};

// The current row's first field, an asset's key; a row without one comes before every key.
qint64 KeyOf(const Recordset& records)
{
    const Variant key = records.Fields(0).Value;
    return key.type() == Variant::Type::Long ? key.longValue() : std::numeric_limits<qint64>::min();
}

// The first and last 1-based position of the rows of `records` by their key; the rows come
// sorted by it.
QHash<qint64, std::pair<int, int>> PositionsByKey(Recordset& records)
{
    QHash<qint64, std::pair<int, int>> positions;
    positions.reserve(records.RecordCount());
    for (int position = 1; !records.Eof(); ++position, records.MoveNext()) {
        const qint64 key = KeyOf(records);
        if (key == std::numeric_limits<qint64>::min())
            continue;
        auto found = positions.find(key);
        if (found == positions.end())
            positions.insert(key, {position, position});
        else
            found->second = position;
    }
    return positions;
}

// The current row into `cells`, which keeps its room from row to row.
const std::vector<Variant>& CurrentRow(const Recordset& records, std::vector<Variant>& cells)
{
    cells.clear();
    for (int field = 0; field < records.FieldCount(); ++field)
        cells.push_back(records.Fields(field).Value);
    return cells;
}

} // namespace

bool WriteExportSheets(const QStringList& keys, bool histories, SheetWriter& out,
                       const ExportProgress& progress)
{
    Recordset assets;
    QString columns;
    QStringList captions;
    for (const AssetColumn& column : kAssetColumns) {
        columns += (columns.isEmpty() ? "" : ", ") + QString(column.field);
        captions << column.caption;
    }
    assets.Open("select " + columns + " from qryAssets order by AssetID", SharedConnection());
    Recordset tables[std::size(kHistories)];
    int total = int(keys.size());
    if (histories)
        for (size_t h = 0; h < std::size(kHistories); ++h) {
            tables[h].Open(kHistories[h].query, SharedConnection());
            total += tables[h].RecordCount();
        }
    Counter counter(progress, total);

    std::vector<qint64> numbers;
    numbers.reserve(size_t(keys.size()));
    for (const QString& key : keys)
        numbers.push_back(key.toLongLong());
    std::vector<Variant> cells;
    const auto write = [&](const Recordset& rows) {
        out.WriteRow(CurrentRow(rows, cells));
        return counter.Step();
    };
    out.BeginSheet("Assets", captions);
    // An asset deleted since the list was filled is left out.
    if (std::is_sorted(numbers.begin(), numbers.end())) {
        // The list in its own order meets the rows as they are read, from first to last: the
        // first are written while the rest are still being read, and none need be kept.
        for (const qint64 key : numbers) {
            while (!assets.Eof() && KeyOf(assets) < key)
                assets.MoveNext();
            if (!assets.Eof() && KeyOf(assets) == key && !write(assets))
                return false;
        }
    } else {
        const QHash<qint64, std::pair<int, int>> assetAt = PositionsByKey(assets);
        for (const qint64 key : numbers) {
            const auto found = assetAt.find(key);
            if (found == assetAt.end())
                continue;
            assets.SetAbsolutePosition(found->first);
            if (!write(assets))
                return false;
        }
    }
    out.EndSheet();
    if (!histories)
        return true;

    for (size_t h = 0; h < std::size(kHistories); ++h) {
        Recordset& rows = tables[h];
        const QHash<qint64, std::pair<int, int>> entriesOf = PositionsByKey(rows);
        out.BeginSheet(kHistories[h].sheet, kHistories[h].captions);
        for (const qint64 key : numbers) {
            const auto found = entriesOf.find(key);
            if (found == entriesOf.end())
                continue;
            for (int position = found->first; position <= found->second; ++position) {
                rows.SetAbsolutePosition(position);
                if (!write(rows))
                    return false;
            }
        }
        out.EndSheet();
    }
    return true;
}
