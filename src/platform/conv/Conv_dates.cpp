// Dates as text and back: the locale's short form with a four-digit year, ISO 8601 and the
// locale's long form, each with an optional time of day.

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
constexpr long kTypeMismatch = 13;

// Two-digit years stand for 1930-2029.
constexpr int kCenturyPivot = 30;

// Calls visit(letter, runLength, position) for each run of one format letter outside the
// quoted literal parts of a date or time format.
template <typename Visit> void ForEachField(const QString& format, Visit visit)
{
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == '\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (!quoted && c.isLetter() && i + run < format.size() && format[i + run] == c)
            ++run;
        if (!quoted && c.isLetter())
            visit(c, run, i);
        i += run;
    }
}

// The locale's short time format with seconds, so that a stored time shows whole.
QString TimeFormat()
{
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    if (!format.contains("ss"))
        format.replace("mm", "mm:ss");
    return format;
}

std::optional<QDate> MakeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// The short form: three numbers in the locale's order of day, month and year, separated by
// the locale's separator or any of "/", "-", ".".
std::optional<QDate> ReadShortDate(const QString& text)
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QString order;
    QString separator;
    qsizetype lastEnd = -1;
    ForEachField(format, [&](QChar letter, qsizetype run, qsizetype at) {
        if (letter != 'd' && letter != 'M' && letter != 'y')
            return;
        if (lastEnd >= 0 && separator.isEmpty())
            separator = format.mid(lastEnd, at - lastEnd).trimmed();
        order += letter;
        lastEnd = at + run;
    });
    if (order.size() != 3)
        return std::nullopt;
    const QString sep = QString("\\s*(?:[-/.]|%1)\\s*").arg(QRegularExpression::escape(separator));
    static const QString number = "(\\d{1,4})";
    const QRegularExpression pattern("^" + number + sep + number + sep + number + "$");
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString field = match.captured(i + 1);
        const int value = field.toInt();
        if (order[i] == 'y') {
            if (field.size() == 2)
                year = value < kCenturyPivot ? 2000 + value : 1900 + value;
            else if (field.size() == 4 && value >= 100)
                year = value;
            else
                return std::nullopt;
        } else if (field.size() > 2) {
            return std::nullopt;
        } else {
            (order[i] == 'd' ? day : month) = value;
        }
    }
    return MakeDate(year, month, day);
}

std::optional<QDate> ReadIsoDate(const QString& text)
{
    static const QRegularExpression pattern("^(\\d{4})-(\\d{2})-(\\d{2})$");
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch() || match.captured(1).toInt() < 100)
        return std::nullopt;
    return MakeDate(match.captured(1).toInt(), match.captured(2).toInt(),
                    match.captured(3).toInt());
}

// The long form as the locale writes it, also without the weekday and with short month names.
std::optional<QDate> ReadLongDate(const QString& text)
{
    const QLocale locale;
    const QString full = locale.dateFormat(QLocale::LongFormat);
    QString withoutWeekday = full;
    withoutWeekday.remove(QRegularExpression("dddd[,\\s]*|[,\\s]*dddd"));
    for (QString format : {full, withoutWeekday}) {
        for (int monthForm = 0; monthForm < 2; ++monthForm) {
            const QDate date = locale.toDate(text, format);
            if (date.isValid())
                return date;
            format.replace("MMMM", "MMM");
        }
    }
    return std::nullopt;
}

std::optional<QDate> ReadDate(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    if (auto date = ReadIsoDate(text))
        return date;
    if (auto date = ReadShortDate(text))
        return date;
    return ReadLongDate(text);
}

// A time of day at the end of a text: hours and minutes, optional seconds (with a fraction),
// and the locale's or the English morning and afternoon markers.
struct TrailingTime
{
    QString datePart;
    QTime time;
};

std::optional<TrailingTime> SplitTime(const QString& text)
{
    const QLocale locale;
    const QString markers = QString("am|pm|%1|%2")
                                .arg(QRegularExpression::escape(locale.amText()),
                                     QRegularExpression::escape(locale.pmText()));
    const QRegularExpression pattern(
        QString("(?:^|[\\sT,])(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:[.,](\\d{1,3})\\d*)?)?"
                "(?:\\s*(%1))?$")
            .arg(markers),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int hour = match.captured(1).toInt();
    const QString marker = match.captured(5).toLower();
    if (!marker.isEmpty()) {
        if (hour < 1 || hour > 12)
            return TrailingTime{QString(), QTime()};
        const bool afternoon = marker == "pm" || marker == locale.pmText().toLower();
        hour = hour % 12 + (afternoon ? 12 : 0);
    }
    const QString fraction = match.captured(4).leftJustified(3, '0');
    const QTime time(hour, match.captured(2).toInt(), match.captured(3).toInt(), fraction.toInt());
    QString datePart = text.left(match.capturedStart(0)).trimmed();
    // "2021-03-15T14:30" keeps its date whole: the T belongs to the ISO form only.
    if (text.at(match.capturedStart(0)).toUpper() == 'T' && !ReadIsoDate(datePart))
        return TrailingTime{QString(), QTime()};
    if (datePart.endsWith(','))
        datePart = datePart.chopped(1).trimmed();
    return TrailingTime{datePart, time};
}
} // namespace

// The year is widened because Qt's en_US "M/d/yy" would write 2021 as 21, which reads back as
// 1921 once it goes through a text box.
QString ShortDateFormat()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QString widened;
    qsizetype copied = 0;
    ForEachField(format, [&](QChar letter, qsizetype run, qsizetype at) {
        if (letter != 'y' || run >= 4)
            return;
        widened += format.mid(copied, at - copied) + "yyyy";
        copied = at + run;
    });
    return widened + format.mid(copied);
}

QString DateText(const QDate& date)
{
    return QLocale().toString(date, ShortDateFormat());
}

QString DateTimeText(const QDateTime& value, bool hasTime)
{
    QString text = DateText(value.date());
    if (hasTime)
        text += ' ' + QLocale().toString(value.time(), TimeFormat());
    return text;
}

std::optional<DateValue> ParseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (const std::optional<QDate> date = ReadDate(trimmed))
        return DateValue{QDateTime(*date, QTime(0, 0)), false};
    const std::optional<TrailingTime> split = SplitTime(trimmed);
    if (!split || !split->time.isValid())
        return std::nullopt;
    const std::optional<QDate> date = ReadDate(split->datePart);
    if (!date)
        return std::nullopt;
    // Midnight is no time of its own: such a value shows as the date alone, as it always has.
    const bool hasTime = split->time != QTime(0, 0);
    return DateValue{QDateTime(*date, split->time), hasTime};
}

bool IsDate(const QString& text)
{
    return ParseDate(text).has_value();
}

DateValue CDate(const QString& text)
{
    if (const std::optional<DateValue> value = ParseDate(text))
        return *value;
    throw RuntimeError(QString("Type mismatch: \"%1\" is not a date").arg(text), kTypeMismatch);
}
