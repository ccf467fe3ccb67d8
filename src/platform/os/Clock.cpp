#include "platform/os/Clock.h"

namespace {
// The pinned date and time of the tests; invalid while the real clock is used.
QDate g_pinnedToday;
QDateTime g_pinnedNow;
} // namespace

QDate Today()
{
    return Now().date();
}

QDateTime Now()
{
    if (g_pinnedNow.isValid())
        return g_pinnedNow;
    const QDateTime now = QDateTime::currentDateTime();
    return g_pinnedToday.isValid() ? QDateTime(g_pinnedToday, now.time()) : now;
}

void SetTodayForTesting(const QDate& date)
{
    g_pinnedToday = date;
}

void SetNowForTesting(const QDateTime& now)
{
    g_pinnedNow = now;
}
