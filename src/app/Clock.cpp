#include "app/Clock.h"

namespace app::Clock {

namespace {
QDate g_fixedToday;
} // namespace

QDate Today()
{
    return g_fixedToday.isValid() ? g_fixedToday : QDate::currentDate();
}

void SetTodayForTesting(const QDate& day)
{
    g_fixedToday = day;
}

} // namespace app::Clock
