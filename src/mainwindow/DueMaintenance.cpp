#include "mainwindow/DueMaintenance.h"

#include "data/AssetColumns.h"
#include "platform/os/Clock.h"
#include "platform/ui/ListView.h"

#include <QAction>
#include <QLocale>
#include <memory>

namespace {

constexpr int kNextMaintenance = AssetColumnOf("NextSchedMaint");
constexpr int kDaysAhead = 30;

// The last millisecond of a day, as a date cell's value counts it.
double EndOfDay(const QDate& day)
{
    return ListView::DateSortValue(day, QTime(23, 59, 59, 999));
}

QString DueNote(double value)
{
    const QDate today = Today();
    if (value > EndOfDay(today))
        return QString();
    const QDate due = QDate::fromJulianDay(qint64(value));
    if (due == today)
        return QStringLiteral("Maintenance due today");
    return "Maintenance due since " + QLocale().toString(due, QStringLiteral("d MMM yyyy"));
}

} // namespace

void MarkDueMaintenance(ListView& list)
{
    list.SetCellMark(kNextMaintenance, DueNote);
}

void ConnectDueView(QAction& action, ListView& list, const std::function<void()>& rebuild)
{
    action.setCheckable(true);
    // The sort the list had before the view, given back when it ends.
    struct SortState
    {
        bool sorted;
        int key;
        int order;
    };
    auto before = std::make_shared<SortState>();
    QObject::connect(&action, &QAction::toggled, &list, [&list, before, rebuild](bool due) {
        if (due) {
            if (list.Ceiling())
                return;
            *before = {list.Sorted(), list.SortKey(), list.SortOrder()};
            list.SetSorted(false);
            list.SetSortKey(kNextMaintenance);
            list.SetSortOrder(0);
            list.SetSorted(true);
            list.SetCeiling(
                ListView::ValueCeiling{kNextMaintenance, EndOfDay(Today().addDays(kDaysAhead))});
            return;
        }
        if (list.Ceiling())
            list.SetCeiling(std::nullopt);
        list.SetSorted(false);
        list.SetSortKey(before->key);
        list.SetSortOrder(before->order);
        list.SetSorted(before->sorted);
        // Unsorted, the list keeps the order it has; the rebuild gives back the query's.
        if (!before->sorted)
            rebuild();
    });
    QObject::connect(&list, &ListView::ShownChanged, &action, [&action, &list] {
        if (action.isChecked() && !list.Ceiling())
            action.setChecked(false);
    });
}
