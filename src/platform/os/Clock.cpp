#include "platform/os/Clock.h"

namespace {
// The pinned date of the tests; invalid while the real clock is used.
QDate g_pinnedToday;
} // namespace

QDate Today()
{
    return g_pinnedToday.isValid() ? g_pinnedToday : QDate::currentDate();
}

void SetTodayForTesting(const QDate& date)
{
    g_pinnedToday = date;
}
