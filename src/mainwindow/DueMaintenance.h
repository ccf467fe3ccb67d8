#pragma once

#include <functional>

class ListView;
class QAction;

// Assets due for maintenance. In the asset list a "Next Maintenance" date of today or
// before carries a warning sign and says since when the maintenance is due.
void MarkDueMaintenance(ListView& list);

// View > Due for maintenance: while `action` is checked the list shows only the assets due
// and those due within the next 30 days, soonest first; unchecked, the list shows every row
// again in the order it had before (`rebuild` gives back the order of a list that was not
// sorted). The action follows the list when something else lifts the ceiling (Add New Record
// showing the new asset).
void ConnectDueView(QAction& action, ListView& list, const std::function<void()>& rebuild);
