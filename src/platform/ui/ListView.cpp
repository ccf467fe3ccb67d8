#include "platform/ui/ListView.h"

#include "platform/RuntimeError.h"
#include "platform/ui/ListViewModel.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QStyleOptionHeader>

namespace {

// Column captions narrower than their text end in "…", as the cells do; the stock header of
// this Qt clips them mid-letter instead. The tooltip shows the whole caption.
class ListViewHeader : public QHeaderView
{
public:
    explicit ListViewHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
    {
        // What the tree view's own header starts with.
        setSectionsMovable(true);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight,
                                                      sectionSize(logicalIndex) - 2 * margin);
    }
};

} // namespace

ListView::ListView(QWidget* parent) : QTreeView(parent), m_model(new ListViewModel(this))
{
    setHeader(new ListViewHeader(this));
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ListView::ColumnClick);
    connect(m_model, &ListViewModel::ShownChanged, this, &ListView::ShownChanged);
}

ListView::~ListView() = default;

void ListView::AddColumn(const QString& caption)
{
    m_model->AddColumn(caption);
}

int ListView::ColumnCount() const
{
    return m_model->ColumnCount();
}

double ListView::ColumnWidth(int column) const
{
    // The width as set, while the column keeps it on screen, so widths read back exactly.
    const int pixels = header()->sectionSize(column);
    const std::optional<double> twips = m_model->WidthTwips(column);
    if (twips && TwipsToPixels(*twips) == pixels)
        return *twips;
    return PixelsToTwips(pixels);
}

void ListView::SetColumnWidth(int column, double twips)
{
    // Widths come back from the settings file too; one beyond any screen (a million twips is
    // some seventy thousand pixels) would overflow the pixel count.
    if (!(twips >= 0 && twips <= 1e6))
        throw RuntimeError("Invalid property value", 380);
    m_model->SetWidthTwips(column, twips);
    header()->resizeSection(column, TwipsToPixels(twips));
}

void ListView::SetColumnSortKind(int column, SortKind kind)
{
    m_model->SetColumnSortKind(column, kind);
}

void ListView::Clear()
{
    m_model->Clear();
}

int ListView::AddItem(const QString& text)
{
    return m_model->AddRow(text);
}

void ListView::SetSubItem(int row, int subItem, const QString& text)
{
    m_model->SetCell(row, subItem, text);
}

void ListView::SetSortValue(int row, int column, double value)
{
    m_model->SetSortValue(row, column, value);
}

double ListView::DateSortValue(const QDate& day, const QTime& time)
{
    return double(day.toJulianDay()) + time.msecsSinceStartOfDay() / 86400000.0;
}

int ListView::ItemCount() const
{
    return m_model->RowCount();
}

int ListView::TotalCount() const
{
    return m_model->TotalCount();
}

QString ListView::ItemText(int row) const
{
    return m_model->Cell(row, 0);
}

int ListView::FindItem(const QString& text) const
{
    for (int row = 0; row < m_model->RowCount(); ++row)
        if (m_model->Cell(row, 0) == text)
            return row;
    return -1;
}

void ListView::EnsureVisible(int row)
{
    m_model->Settle();
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        throw RuntimeError(QStringLiteral("Index out of bounds"), 35600);
    scrollTo(index);
}

QString ListView::SubItemText(int row, int subItem) const
{
    return m_model->Cell(row, subItem);
}

void ListView::BeginUpdate()
{
    m_model->BeginUpdate();
}

void ListView::EndUpdate()
{
    m_model->EndUpdate();
}

int ListView::SelectedIndex() const
{
    m_model->Settle();
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::SelectItem(int row)
{
    m_model->Settle();
    if (row < 0) {
        clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        throw RuntimeError(QStringLiteral("Index out of bounds"), 35600);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

bool ListView::Sorted() const
{
    return m_model->Sorted();
}

void ListView::SetSorted(bool sorted)
{
    m_model->SetSorted(sorted);
}

int ListView::SortKey() const
{
    return m_model->SortKey();
}

void ListView::SetSortKey(int column)
{
    m_model->SetSortKey(column);
}

int ListView::SortOrder() const
{
    return m_model->SortOrder();
}

void ListView::SetSortOrder(int order)
{
    m_model->SetSortOrder(order);
}

QString ListView::FindText() const
{
    return m_model->FindText();
}

void ListView::SetFindText(const QString& text)
{
    m_model->SetFindText(text);
}

std::optional<ListView::ValueCeiling> ListView::Ceiling() const
{
    return m_model->ValueCeiling();
}

void ListView::SetCeiling(const std::optional<ValueCeiling>& ceiling)
{
    m_model->SetValueCeiling(ceiling);
}

bool ListView::Filtered() const
{
    return m_model->Filtered();
}

void ListView::SetCellMark(int column, std::function<QString(double value)> rule)
{
    m_model->SetCellMark(column, std::move(rule));
    // A sign as high as the text, so that a marked row is no taller than the others.
    const int side = fontMetrics().height();
    setIconSize(QSize(side, side));
}
