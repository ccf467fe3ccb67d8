#pragma once

#include "platform/value/Currency.h"
#include "platform/value/Variant.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The system's conversions between values and text, under the program's locale (QLocale()).

// The text form of a value joined to empty text: Null and Empty give "". Whole numbers and
// currency are plain numbers (584, 1234.5: no grouping, no currency sign, the locale's
// decimal separator); dates are the short date with a four-digit year, with the time only
// when one is stored; Booleans "True"/"False".
QString TextOf(const Variant& value);
// The strict text conversion: as TextOf, but Null throws RuntimeError "Invalid use of Null".
QString CStr(const Variant& value);

// The locale's short date format with its year widened to four digits ("M/d/yyyy" in en_US).
QString ShortDateFormat();
// The short date form of the locale with a four-digit year (en_US: 3/15/2021).
QString DateText(const QDate& date);
// With the time of day when hasTime.
QString DateTimeText(const QDate& date, const QTime& time, bool hasTime);
// The form dates are stored and exchanged in, whatever the locale: ISO 8601 with the time,
// when there is one, after a blank: 2026-12-08, 2026-12-08 09:14:03.
QString IsoDateText(const QDate& date, const QTime& time, bool hasTime);

// The numeric test: optional sign, digits, the locale's decimal and thousands separators,
// currency sign, surrounding blanks. "" and "abc" are not numeric.
bool IsNumeric(const QString& text);

// The date test and conversion: the locale's short form (one- or two-digit day and month,
// four- or two-digit year, two-digit years in 1930-2029), ISO 8601, the locale's long form,
// each with an optional time. Impossible dates (31/02/2021) are no dates.
struct DateValue
{
    QDateTime value;
    bool hasTime = false;
};
std::optional<DateValue> ParseDate(const QString& text);
bool IsDate(const QString& text);
// As ParseDate, but a text that is no date throws RuntimeError "Type mismatch".
DateValue CDate(const QString& text);

// Currency conversion of text (what IsNumeric accepts); throws RuntimeError "Type mismatch"
// naming the text when it is no number.
Currency CCur(const QString& text);
// The currency value of a value read from the database (whole numbers, doubles, currency,
// numeric text); Null throws "Invalid use of Null".
Currency CCur(const Variant& value);

// The number-from-text rule: blanks skipped, then the longest leading part that reads as a
// number (sign, digits, one "." as decimal point, exponent); 0 when the text does not begin
// with a number. Independent of the locale.
double Val(const QString& text);

// "$#,##0.00": $1,234.50, $0.00, -$5.00.
QString FormatMoney(Currency amount);
QString FormatMoney(double amount);

// A double as the system writes it in plain decimal form with the locale's decimal
// separator and no grouping (5, 2.5, 1234.5).
QString NumberText(double value);
QString CurrencyText(Currency value);
