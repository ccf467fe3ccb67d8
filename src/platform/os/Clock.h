#pragma once

#include <QDate>

// Today's date. Tests pin it so that dates written by the program do not depend on the day
// they run.
QDate Today();
void SetTodayForTesting(const QDate& date); // an invalid date goes back to the real clock
