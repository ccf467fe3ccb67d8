#pragma once

#include <QDate>
#include <QDateTime>

// Today's date and the time of day. Tests pin them so that dates written by the program do
// not depend on the day they run.
QDate Today();
QDateTime Now();
void SetTodayForTesting(const QDate& date); // an invalid date goes back to the real clock
// Pins the date and the time of day; an invalid one goes back to the pinned date, if any,
// with the real time of day.
void SetNowForTesting(const QDateTime& now);
