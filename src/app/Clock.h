#pragma once

#include <QDate>

// "Today" for the whole program; tests fix it.
namespace app::Clock {
QDate Today();
void SetTodayForTesting(const QDate& day); // invalid date: the real clock again
} // namespace app::Clock
