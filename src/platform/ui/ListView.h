#pragma once

#include "platform/ui/ListFilter.h"

#include <QDateTime>
#include <QString>
#include <QTreeView>
#include <functional>
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
//
// A find shows only the rows whose cells hold every word of its text (without regard to
// case or accents), and a value ceiling only those whose value in its column is at most
// the ceiling. Both stay in force through Clear and for rows added later; rows are counted
// and numbered as they are shown, and a selected row that they hide is dropped.
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
    // What a date sorts by: its day and the fraction of the day, so a stored time orders
    // within its date.
    static double DateSortValue(const QDate& day, const QTime& time);
    int ItemCount() const;
    // Every row, shown or not.
    int TotalCount() const;
    QString ItemText(int row) const;
    // The first shown row whose item text is `text`; -1 when none.
    int FindItem(const QString& text) const;
    // Scrolls the row into view.
    void EnsureVisible(int row);
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

    // Find and value ceiling; an empty text and no ceiling show every row.
    QString FindText() const;
    void SetFindText(const QString& text);
    using ValueCeiling = ListFilter::Ceiling;
    std::optional<ValueCeiling> Ceiling() const;
    void SetCeiling(const std::optional<ValueCeiling>& ceiling);
    bool Filtered() const;

    // Marks cells of a Value column with a warning sign and a tooltip: `rule` gives the
    // tooltip for a cell's value, or empty text for a cell without a mark.
    void SetCellMark(int column, std::function<QString(double value)> rule);

signals:
    // The header of a column was clicked; column is 0-based.
    void ColumnClick(int column);
    // The rows shown, their number, the find text or the ceiling may have changed.
    void ShownChanged();

private:
    ListViewModel* m_model;
};
