#pragma once

#include <QString>
#include <QTreeView>
#include <memory>
#include <optional>

class ListViewModel;

// The report-view list of the original controls: columns with captions and widths in
// twips, rows of an item text and sub-item texts, one selected row, full-row selection, no
// in-place editing. Built on a model, so 100 000 rows fill, sort and clear quickly.
//
// Sorting follows the control's sorted flag, sort key (0-based column) and sort order
// (0 ascending, 1 descending), and stays in force for rows added later. Columns sort by
// their kind: text by the locale's collation, numbers and dates by the value given with
// the cell (empty cells first when ascending).
class ListView : public QTreeView
{
    Q_OBJECT

public:
    enum class SortKind { Text, Value };

    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // Columns.
    void AddColumn(const QString& caption);
    int ColumnCount() const;
    double ColumnWidth(int column) const; // twips, column 0-based
    void SetColumnWidth(int column, double twips);
    void SetColumnSortKind(int column, SortKind kind);

    // Rows. Rows are numbered from 0 here; the commands that speak of "positions" add one.
    void Clear();
    int AddItem(const QString& text);
    // Sub-item n is column n (1-based sub-items, as the original control numbers them).
    void SetSubItem(int row, int subItem, const QString& text);
    // The value a Value column sorts by; a cell without one is empty and sorts first.
    void SetSortValue(int row, int column, double value);
    int ItemCount() const;
    QString ItemText(int row) const;
    QString SubItemText(int row, int subItem) const;

    // Many rows at once: rows added between BeginUpdate and EndUpdate are sorted once, at
    // the end, instead of row by row.
    void BeginUpdate();
    void EndUpdate();

    // Selection: -1 when no row is selected.
    int SelectedIndex() const;
    void SelectItem(int row);

    // Sort state of the control.
    bool Sorted() const;
    void SetSorted(bool sorted);
    int SortKey() const;
    void SetSortKey(int column);
    int SortOrder() const;
    void SetSortOrder(int order);

signals:
    // The header of a column was clicked; column is 0-based.
    void ColumnClick(int column);

private:
    ListViewModel* m_model;
};
