#pragma once

#include <QHash>
#include <QLocale>
#include <QString>

// What the text forms of values take from the program's locale, worked out once for it
// rather than at each of the many values a list or a report shows. Each is filled when first
// asked for.
struct LocaleTexts
{
    QLocale locale;
    QString decimalPoint;
    // The short date format with a four-digit year.
    QString shortDateFormat;
    // Dates' short forms by Julian day.
    QHash<qint64, QString> dates;
};

// Those of the program's locale (QLocale()), made anew when it changes; one per thread.
LocaleTexts& CurrentLocaleTexts();
