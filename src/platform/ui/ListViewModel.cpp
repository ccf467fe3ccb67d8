#include "platform/ui/ListViewModel.h"

#include "platform/RuntimeError.h"
#include "platform/conv/TextOrder.h"

#include <QApplication>
#include <QCollator>
#include <QIcon>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace {
const double kNoValue = std::numeric_limits<double>::quiet_NaN();

RuntimeError OutOfBounds()
{
    return RuntimeError(QStringLiteral("Index out of bounds"), 35600);
}

// Where each row's text in `column` comes in the program's text order, by row as added; texts
// that collate alike share a place. Cells of a column repeat (an employee, a category), so
// each distinct text is given its collation key once and only the distinct texts are sorted.
std::vector<int> TextPlaces(const ListCells& cells, int column)
{
    std::unordered_map<std::string_view, int> distinctAt;
    std::vector<QUtf8StringView> distinct;
    std::vector<int> textOf(std::size_t(cells.RowCount()));
    for (int r = 0; r < cells.RowCount(); ++r) {
        const QUtf8StringView text = cells.Cell(r, column);
        const auto [at, added] = distinctAt.try_emplace(
            std::string_view(text.data(), std::size_t(text.size())), int(distinct.size()));
        if (added)
            distinct.push_back(text);
        textOf[std::size_t(r)] = at->second;
    }
    const QCollator collator = TextCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(distinct.size());
    for (const QUtf8StringView text : distinct)
        keys.push_back(collator.sortKey(text.toString()));
    std::vector<int> byKey(distinct.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<int> placeOf(distinct.size());
    for (std::size_t i = 1; i < byKey.size(); ++i)
        placeOf[byKey[i]] =
            placeOf[byKey[i - 1]] + (keys[byKey[i - 1]].compare(keys[byKey[i]]) < 0 ? 1 : 0);
    for (int& place : textOf)
        place = placeOf[std::size_t(place)];
    return textOf;
}
} // namespace

ListViewModel::ListViewModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_announced;
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_announced)
        return QVariant();
    const int added = Shown()[index.row()];
    const int column = index.column();
    if ((role == Qt::DecorationRole || role == Qt::ToolTipRole) && m_marks[column]) {
        const double value = ValueOf(added, column);
        const QString mark = std::isnan(value) ? QString() : m_marks[column](value);
        if (!mark.isEmpty())
            return role == Qt::ToolTipRole ? QVariant(mark)
                                           : QVariant(QApplication::style()->standardIcon(
                                                 QStyle::SP_MessageBoxWarning));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    return m_cells.Text(added, column);
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole) ||
        section < 0 || section >= ColumnCount())
        return QVariant();
    return m_captions[section];
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ListViewModel::AddColumn(const QString& caption)
{
    const int oldCount = ColumnCount();
    beginInsertColumns(QModelIndex(), oldCount, oldCount);
    m_cells.AddColumn();
    m_captions.append(caption);
    m_kinds.push_back(SortKind::Text);
    m_widths.emplace_back();
    m_values.emplace_back();
    m_marks.emplace_back();
    m_filter.ForgetFrom(0);
    endInsertColumns();
}

void ListViewModel::SetColumnSortKind(int column, SortKind kind)
{
    CheckColumn(column);
    m_kinds[column] = kind;
    MarkUnsorted();
    Settle();
}

std::optional<double> ListViewModel::WidthTwips(int column) const
{
    CheckColumn(column);
    return m_widths[column];
}

void ListViewModel::SetWidthTwips(int column, double twips)
{
    CheckColumn(column);
    m_widths[column] = twips;
}

void ListViewModel::Clear()
{
    beginResetModel();
    m_cells.Clear();
    m_order.clear();
    m_shown.clear();
    m_filter.ForgetFrom(0);
    m_filtering = m_filter.Active();
    for (std::vector<double>& values : m_values)
        values.clear();
    m_announced = 0;
    m_unsorted = false;
    m_refilter = false;
    endResetModel();
    emit ShownChanged();
}

int ListViewModel::AddRow(const QString& text)
{
    const int added = static_cast<int>(m_order.size());
    const int row = RowCount();
    // Outside an update the view learns of each row at once; inside one, of all at the end.
    const bool announce = m_updating == 0 && m_announced == row;
    if (announce)
        beginInsertRows(QModelIndex(), row, row);
    m_cells.AddRow();
    m_order.push_back(added);
    // Shown until the filter looks at it, so that its cells can be filled.
    if (m_filtering) {
        m_shown.push_back(added);
        m_refilter = true;
    }
    if (ColumnCount() > 0)
        m_cells.Set(added, 0, text);
    if (announce) {
        m_announced = row + 1;
        endInsertRows();
    }
    MarkUnsorted();
    return row;
}

void ListViewModel::SetCell(int row, int column, QStringView text)
{
    CheckColumn(column);
    const int added = StorageRow(row);
    m_cells.Set(added, column, text);
    if (row < m_announced) {
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
    m_filter.ForgetFrom(added);
    if (column == m_sortKey)
        MarkUnsorted();
    if (m_filtering) {
        m_refilter = true;
        QueueSettle();
    }
}

QString ListViewModel::Cell(int row, int column)
{
    Settle();
    CheckColumn(column);
    return m_cells.Text(StorageRow(row), column);
}

void ListViewModel::SetSortValue(int row, int column, double value)
{
    CheckColumn(column);
    const int added = StorageRow(row);
    std::vector<double>& values = m_values[column];
    if (values.size() <= static_cast<size_t>(added))
        values.resize(m_order.size(), kNoValue);
    values[added] = value;
    if (column == m_sortKey)
        MarkUnsorted();
    if (m_filter.ValueCeiling() && m_filter.ValueCeiling()->column == column) {
        m_refilter = true;
        QueueSettle();
    }
}

void ListViewModel::BeginUpdate()
{
    ++m_updating;
}

void ListViewModel::EndUpdate()
{
    if (m_updating > 0)
        --m_updating;
    Settle();
}

void ListViewModel::Settle()
{
    if (m_updating > 0)
        return;
    const int count = RowCount();
    const bool added = m_announced < count;
    if (added) {
        beginInsertRows(QModelIndex(), m_announced, count - 1);
        m_announced = count;
        endInsertRows();
    }
    const bool sort = m_unsorted && m_sorted;
    const bool refilter = m_refilter;
    m_unsorted = false;
    m_refilter = false;
    if (sort || refilter)
        Relayout([&] {
            if (sort)
                Sort();
            if (refilter)
                m_filter.Match(m_cells, m_values);
            m_filtering = m_filter.Active();
            m_shown = m_filtering ? m_filter.Pick(m_order) : std::vector<int>();
        });
    if (added || refilter)
        emit ShownChanged();
}

void ListViewModel::SetSorted(bool sorted)
{
    m_sorted = sorted;
    MarkUnsorted();
    Settle();
}

void ListViewModel::SetSortKey(int column)
{
    if (column < 0)
        throw RuntimeError(QStringLiteral("Invalid property value"), 380);
    m_sortKey = column;
    MarkUnsorted();
    Settle();
}

void ListViewModel::SetSortOrder(int order)
{
    if (order != 0 && order != 1)
        throw RuntimeError(QStringLiteral("Invalid property value"), 380);
    m_sortOrder = order;
    MarkUnsorted();
    Settle();
}

void ListViewModel::SetFindText(const QString& text)
{
    if (!m_filter.SetText(text))
        return;
    m_refilter = true;
    Settle();
}

void ListViewModel::SetValueCeiling(const std::optional<ListFilter::Ceiling>& ceiling)
{
    if (ceiling)
        CheckColumn(ceiling->column);
    m_filter.SetValueCeiling(ceiling);
    m_refilter = true;
    Settle();
}

void ListViewModel::SetCellMark(int column, std::function<QString(double)> rule)
{
    CheckColumn(column);
    m_marks[column] = std::move(rule);
}

int ListViewModel::StorageRow(int row) const
{
    if (row < 0 || row >= RowCount())
        throw OutOfBounds();
    return Shown()[row];
}

double ListViewModel::ValueOf(int added, int column) const
{
    const std::vector<double>& values = m_values[column];
    return static_cast<size_t>(added) < values.size() ? values[added] : kNoValue;
}

void ListViewModel::CheckColumn(int column) const
{
    if (column < 0 || column >= ColumnCount())
        throw OutOfBounds();
}

void ListViewModel::MarkUnsorted()
{
    if (!m_sorted)
        return;
    m_unsorted = true;
    QueueSettle();
}

void ListViewModel::QueueSettle()
{
    // The list sorts and filters itself too when the caller does not read it again.
    if (!m_settleQueued) {
        m_settleQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_settleQueued = false;
                Settle();
            },
            Qt::QueuedConnection);
    }
}

void ListViewModel::Sort()
{
    const int column = m_sortKey;
    if (column >= ColumnCount())
        return;
    // Ascending compares a before b; descending the other way round, so equal cells keep
    // the order they were added in both directions.
    const bool descending = m_sortOrder == 1;
    if (m_kinds[column] == SortKind::Value) {
        // Empty cells first, then by value.
        auto less = [this, column](int a, int b) {
            const double x = ValueOf(a, column), y = ValueOf(b, column);
            if (std::isnan(x))
                return !std::isnan(y);
            return !std::isnan(y) && x < y;
        };
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    } else {
        const std::vector<int> places = TextPlaces(m_cells, column);
        auto less = [&places](int a, int b) { return places[a] < places[b]; };
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    }
}

void ListViewModel::Relayout(const std::function<void()>& change)
{
    // Only rows move, appear or go; the columns stay as they are, which the hint tells the
    // header.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> addedRows;
    addedRows.reserve(before.size());
    for (const QModelIndex& index : before)
        addedRows.push_back(Shown()[index.row()]);

    change();
    const std::vector<int>& shown = Shown();
    m_announced = static_cast<int>(shown.size());

    std::vector<int> shownAt(m_order.size(), -1);
    for (size_t r = 0; r < shown.size(); ++r)
        shownAt[shown[r]] = static_cast<int>(r);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = shownAt[addedRows[i]];
        after.append(row < 0 ? QModelIndex() : index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
