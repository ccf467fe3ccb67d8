// The asset list: filling it from qryAssets and sorting it by a clicked column.
#include "mainwindow/Form1.h"

#include "common/ErrorTrap.h"
#include "data/AssetColumns.h"
#include "data/Globals.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/ui/ListView.h"

#include <array>
#include <optional>

namespace {

// The value a number or date cell sorts by; none for null and text.
std::optional<double> SortValueOf(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Long:
        return double(value.longValue());
    case Variant::Type::Double:
        return value.doubleValue();
    case Variant::Type::Currency:
        return value.currencyValue().ToDouble();
    case Variant::Type::Date:
        return ListView::DateSortValue(value.dateDay(), value.dateTime());
    default:
        return std::nullopt;
    }
}

// Shows the hourglass for as long as it lives, then the pointer that was there before.
class BusyPointer
{
public:
    explicit BusyPointer(PointerRule& rule) : m_rule(rule), m_before(rule.Pointer())
    {
        m_rule.SetPointer(MousePointer::Hourglass);
    }
    ~BusyPointer() { m_rule.SetPointer(m_before); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    PointerRule& m_rule;
    MousePointer m_before;
};

// Defers the list's sorting to the end of a fill, also when the fill fails half-way.
class ListUpdate
{
public:
    explicit ListUpdate(ListView& list) : m_list(list) { m_list.BeginUpdate(); }
    ~ListUpdate() { m_list.EndUpdate(); }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

private:
    ListView& m_list;
};

} // namespace

// Rebuilds the list, one row per asset in the order of qryAssets. A cell that cannot be
// read is reported and left empty; the rest of the row and the following rows still come.
// The sort state stays as it was, so a sorted list shows the new rows in the same order.
void Form1::ListData()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.ListData ");
    BusyPointer busy(*Pointer);
    ListUpdate update(*ListView1);
    trap(100, [&] { ListView1->Clear(); });
    Recordset records;
    trap(102, [&] { records.Open("select * from qryAssets", SharedConnection(), 3, 1); });

    // Column positions looked up once, not by name at each of the 1.9 million cells of a
    // large list. A column the query lacks is reported once, at the step that reads it, with
    // the error of asking for it by name; its cells stay empty.
    std::array<int, kAssetColumns.size()> positions;
    positions.fill(-1);
    if (records.IsOpen()) {
        const QStringList names = records.FieldNames();
        for (int column = 0; column < int(kAssetColumns.size()); ++column) {
            const QString name = QLatin1String(kAssetColumns[column].field);
            positions[column] = int(names.indexOf(name));
            if (positions[column] < 0)
                trap(106 + 2 * column, [&] { records.Fields(name); });
        }
    }

    // A failing end-of-records test or move is reported once and ends the loop.
    auto atEnd = [&] {
        bool end = true;
        return !trap(104, [&] { end = records.Eof(); }) || end;
    };
    struct Cell
    {
        QString text;
        std::optional<double> sortValue;
    };
    auto readCell = [&](int column) {
        Cell cell;
        if (positions[column] < 0)
            return cell;
        trap(106 + 2 * column, [&] {
            const Variant value = records.Fields(positions[column]).Value;
            cell.text = TextOf(value);
            if (SortsByValue(kAssetColumns[column].value))
                cell.sortValue = SortValueOf(value);
        });
        return cell;
    };
    while (!atEnd()) {
        const Cell id = readCell(0);
        const int row = ListView1->AddItem(id.text);
        if (id.sortValue)
            ListView1->SetSortValue(row, 0, *id.sortValue);
        for (int column = 1; column < int(kAssetColumns.size()); ++column) {
            const Cell cell = readCell(column);
            if (!cell.text.isEmpty())
                ListView1->SetSubItem(row, column, cell.text);
            if (cell.sortValue)
                ListView1->SetSortValue(row, column, *cell.sortValue);
        }
        if (!trap(144, [&] { records.MoveNext(); }))
            break;
    }
    // A query that failed to open was reported already and has nothing to close.
    if (records.IsOpen())
        trap(146, [&] { records.Close(); });
}

// Sorts by the clicked column: ascending on a new column, the other way round on the column
// already sorted by.
void Form1::ListView1_ColumnClick(int column)
{
    const int sortColumn = ListView1->Sorted() ? ListView1->SortKey() : -1;
    ListView1->SetSorted(false);
    if (column == sortColumn)
        ListView1->SetSortOrder(ListView1->SortOrder() == 0 ? 1 : 0);
    else
        ListView1->SetSortOrder(0);
    ListView1->SetSortKey(column);
    ListView1->SetSorted(true);
}
