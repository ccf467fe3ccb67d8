#pragma once

#include "platform/ui/ListCells.h"
#include "platform/ui/ListFilter.h"
#include "platform/ui/ListView.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The rows of a ListView. Cells are kept in ListCells in the order the rows were added;
// the sorted order is a permutation of those rows, and a find shows the rows of that order
// that its filter picks (a visible-row index over the rows, which stay as they are). Rows
// are numbered as they are shown. Rows added during an update reach the view in one batch at
// its end, so filling is free of per-row signals. A sorted or filtered list sorts and
// filters added or changed rows once it settles: at the end of an update, on the next read,
// or when control returns to the event loop; until then a new row is shown last and keeps
// the number AddRow gave it, so its cells can be filled.
class ListViewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using SortKind = ListView::SortKind;

    explicit ListViewModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void AddColumn(const QString& caption);
    int ColumnCount() const { return m_cells.ColumnCount(); }
    void SetColumnSortKind(int column, SortKind kind);
    // The width last set for a column, in twips.
    std::optional<double> WidthTwips(int column) const;
    void SetWidthTwips(int column, double twips);

    void Clear();
    int AddRow(const QString& text);
    // The rows shown, and all rows.
    int RowCount() const { return static_cast<int>(Shown().size()); }
    int TotalCount() const { return static_cast<int>(m_order.size()); }
    void SetCell(int row, int column, QStringView text);
    QString Cell(int row, int column);
    void SetSortValue(int row, int column, double value);

    void BeginUpdate();
    void EndUpdate();
    // Announces new rows and sorts when the list is due for it.
    void Settle();

    bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);
    int SortKey() const { return m_sortKey; }
    void SetSortKey(int column);
    int SortOrder() const { return m_sortOrder; }
    void SetSortOrder(int order);

    const QString& FindText() const { return m_filter.Text(); }
    void SetFindText(const QString& text);
    const std::optional<ListFilter::Ceiling>& ValueCeiling() const
    {
        return m_filter.ValueCeiling();
    }
    void SetValueCeiling(const std::optional<ListFilter::Ceiling>& ceiling);
    bool Filtered() const { return m_filter.Active(); }
    // A rule that marks cells of a Value column: the tooltip for a cell's value, empty for
    // a cell without a mark. A marked cell shows a warning sign beside its text.
    void SetCellMark(int column, std::function<QString(double)> rule);

signals:
    // The rows shown or their number may have changed: a fill, a find, a ceiling.
    void ShownChanged();

private:
    int StorageRow(int row) const;
    void CheckColumn(int column) const;
    double ValueOf(int added, int column) const;
    const std::vector<int>& Shown() const { return m_filtering ? m_shown : m_order; }
    // Something the order or the choice of rows depends on changed.
    void MarkUnsorted();
    void QueueSettle();
    void Sort();
    // Changes the rows shown or their order; the selection follows its rows, and a selected
    // row that is no longer shown is dropped.
    void Relayout(const std::function<void()>& change);

    QStringList m_captions;
    std::vector<SortKind> m_kinds;
    std::vector<std::optional<double>> m_widths;
    // By row as added.
    ListCells m_cells;
    // Per column the sort values by added row; NaN or beyond the end is an empty cell.
    std::vector<std::vector<double>> m_values;
    // Sorted row -> added row.
    std::vector<int> m_order;
    // Shown row -> added row, while m_filtering.
    std::vector<int> m_shown;
    ListFilter m_filter;
    bool m_filtering = false;
    bool m_refilter = false;
    std::vector<std::function<QString(double)>> m_marks;
    // How many displayed rows the view knows of; the rest are still to be announced.
    int m_announced = 0;
    int m_updating = 0;
    bool m_unsorted = false;
    bool m_settleQueued = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    int m_sortOrder = 0;
};
