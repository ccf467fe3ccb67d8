#pragma once

#include "platform/ui/ListView.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <optional>
#include <vector>

// The rows of a ListView. Cells are kept in one flat array in the order the rows were added;
// the displayed order is a permutation of those rows. Rows added during an update reach the
// view in one batch at its end, so filling is free of per-row signals. A sorted list sorts
// added or changed rows once it settles: at the end of an update, on the next read, or when
// control returns to the event loop; until then a new row keeps the number AddRow gave it,
// so its cells can be filled.
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
    int ColumnCount() const { return static_cast<int>(m_captions.size()); }
    void SetColumnSortKind(int column, SortKind kind);
    // The width last set for a column, in twips.
    std::optional<double> WidthTwips(int column) const;
    void SetWidthTwips(int column, double twips);

    void Clear();
    int AddRow(const QString& text);
    int RowCount() const { return static_cast<int>(m_order.size()); }
    void SetCell(int row, int column, const QString& text);
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

private:
    int StorageRow(int row) const;
    void CheckColumn(int column) const;
    // Something the order depends on changed.
    void MarkUnsorted();
    void Sort();

    QStringList m_captions;
    std::vector<SortKind> m_kinds;
    std::vector<std::optional<double>> m_widths;
    // Row r, column c of the rows as added lies at m_cells[r * ColumnCount() + c].
    std::vector<QString> m_cells;
    // Per column the sort values by added row; NaN or beyond the end is an empty cell.
    std::vector<std::vector<double>> m_values;
    // Displayed row -> added row.
    std::vector<int> m_order;
    // How many displayed rows the view knows of; the rest are still to be announced.
    int m_announced = 0;
    int m_updating = 0;
    bool m_unsorted = false;
    bool m_settleQueued = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    int m_sortOrder = 0;
};
