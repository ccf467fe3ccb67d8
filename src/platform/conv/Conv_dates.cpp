// Dates as text and back: the locale's short form with a four-digit year, ISO 8601 and the
// locale's long form, each with an optional time of day.

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "platform/conv/LocaleTexts.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
constexpr long kTypeMismatch = 13;

// Two-digit years stand for 1930-2029.
constexpr int kCenturyPivot = 30;

bool IsFieldLetter(QChar c)
{
    return QStringView(u"dMyhHmsaAzt").contains(c);
}

// One piece of a date or time format: a run of one field letter, or the literal text
// between fields (quotes taken out).
struct FormatPart
{
    QChar letter; // null for literal text
    qsizetype run = 0;
    qsizetype at = 0; // where the run starts in the format
    QString literal;
};

QList<FormatPart> PartsOf(const QString& format)
{
    QList<FormatPart> parts;
    auto literal = [&]() -> QString& {
        if (parts.isEmpty() || !parts.last().letter.isNull())
            parts.append(FormatPart{});
        return parts.last().literal;
    };
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == '\'') {
            const qsizetype end = format.indexOf('\'', i + 1);
            // '' is a quote of its own.
            literal() += end == i + 1 ? QStringLiteral("'") : format.mid(i + 1, end - i - 1);
            i = end < 0 ? format.size() : end + 1;
        } else if (IsFieldLetter(c)) {
            qsizetype run = 1;
            while (i + run < format.size() && format[i + run] == c)
                ++run;
            // "AP" and "ap" are one marker field.
            if ((c == 'A' || c == 'a') && i + 1 < format.size() && format[i + 1].toLower() == 'p')
                run = 2;
            parts.append(FormatPart{c, run, i, {}});
            i += run;
        } else {
            literal() += c;
            ++i;
        }
    }
    return parts;
}

// The text with the digits of every script as ASCII digits, the direction marks that
// right-to-left locales put around separators taken out and every blank a plain blank, so
// that the locale's own forms read like any other.
QString Plain(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (QChar::category(c) == QChar::Number_DecimalDigit)
            plain += QChar(u'0' + QChar::digitValue(c));
        else if (QChar::isSpace(c))
            plain += QLatin1Char(' ');
        else if (QChar::category(c) != QChar::Other_Format)
            plain += QString::fromUcs4(&c, 1);
    }
    return plain;
}

// A pattern of a format and the fields its captures hold, one letter each.
struct FormatReader
{
    QString pattern;
    QString fields;
};

// The locale's and the English morning and afternoon markers, as alternatives of a pattern.
QString Markers()
{
    const QLocale locale;
    QStringList markers{QStringLiteral("am"), QStringLiteral("pm")};
    for (const QString& marker : {locale.amText(), locale.pmText()})
        if (!marker.isEmpty())
            markers << QRegularExpression::escape(Plain(marker));
    return markers.join('|');
}

bool HasSeconds(const QList<FormatPart>& parts)
{
    return std::any_of(parts.begin(), parts.end(),
                       [](const FormatPart& part) { return part.letter == 's'; });
}

// The locale's short time format with seconds, so that a stored time shows whole.
QString TimeFormat()
{
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    const QList<FormatPart> parts = PartsOf(format);
    if (HasSeconds(parts))
        return format;
    for (const FormatPart& part : parts)
        if (part.letter == 'm')
            return format.left(part.at) + QStringLiteral("mm:ss") + format.mid(part.at + part.run);
    return format;
}

// A pattern that reads what a format writes, and more leniently what a user types in its
// image: each number of one or two digits (a year of two or four), blanks around the
// separators, one of `separators` in place of the locale's own, and the literal text before
// the first field or after the last one left out or not. A format without seconds also
// reads them after the minutes. `fields` names the pattern's captures in order, one letter
// each ('z' for a fraction of a second).
FormatReader ReaderOf(const QString& format, const QString& separators)
{
    const QList<FormatPart> parts = PartsOf(format);
    const QString anySeparator = "[" + QRegularExpression::escape(separators) + "]";
    const QString seconds = QStringLiteral("(\\d{2})(?:[.,](\\d{1,3})\\d*)?");
    FormatReader reader;
    for (qsizetype n = 0; n < parts.size(); ++n) {
        const FormatPart& part = parts[n];
        if (part.letter.isNull()) {
            const QString text = Plain(part.literal).trimmed();
            const QString escaped = QRegularExpression::escape(text);
            if (n == 0)
                reader.pattern += text.isEmpty() ? QString() : "(?:" + escaped + "\\s*)?";
            else if (n == parts.size() - 1)
                reader.pattern += text.isEmpty() ? QString() : "(?:\\s*" + escaped + ")?";
            else if (part.literal.isEmpty())
                reader.pattern += "\\s*";
            else if (text.isEmpty())
                reader.pattern += "(?:\\s+|\\s*" + anySeparator + "\\s*)";
            else
                reader.pattern += "\\s*(?:" + escaped + "|" + anySeparator + ")\\s*";
            continue;
        }
        switch (part.letter.unicode()) {
        case 'y':
            reader.pattern += QStringLiteral("(\\d{4}|\\d{2})");
            reader.fields += 'y';
            break;
        case 'M':
            reader.pattern += part.run > 2 ? QStringLiteral("(\\w+\\.?)") : "(\\d{1,2})";
            reader.fields += part.run > 2 ? 'N' : 'M';
            break;
        case 'a':
        case 'A':
            reader.pattern += "(" + Markers() + ")";
            reader.fields += 'a';
            break;
        case 's':
            reader.pattern += seconds;
            reader.fields += QStringLiteral("sz");
            break;
        case 'm':
            reader.pattern += part.run > 1 ? QStringLiteral("(\\d{2})") : "(\\d{1,2})";
            reader.fields += 'm';
            if (!HasSeconds(parts)) {
                reader.pattern += "(?::" + seconds + ")?";
                reader.fields += QStringLiteral("sz");
            }
            break;
        case 't':
            reader.pattern += QStringLiteral("(\\S+)");
            reader.fields += 't';
            break;
        case 'z':
            reader.pattern += QStringLiteral("(\\d{1,3})");
            reader.fields += 'z';
            break;
        default: // d, h, H
            reader.pattern += QStringLiteral("(\\d{1,2})");
            reader.fields += part.letter == 'H' ? QChar('h') : part.letter;
            break;
        }
    }
    return reader;
}

std::optional<QDate> MakeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// A month's number from its name or abbreviation in the locale; 0 when it names none.
int MonthNamed(const QString& name)
{
    const QLocale locale;
    QString wanted = name;
    if (wanted.endsWith('.'))
        wanted.chop(1);
    for (int month = 1; month <= 12; ++month) {
        for (const QLocale::FormatType form : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (QString known :
                 {locale.monthName(month, form), locale.standaloneMonthName(month, form)}) {
                if (known.endsWith('.'))
                    known.chop(1);
                if (Plain(known).compare(wanted, Qt::CaseInsensitive) == 0)
                    return month;
            }
        }
    }
    return 0;
}

// The short form: the day, month and year in the locale's order and with its separators or
// any of "/", "-", ".".
std::optional<QDate> ReadShortDate(const QString& text)
{
    const FormatReader reader = ReaderOf(QLocale().dateFormat(QLocale::ShortFormat), "-/.");
    const QRegularExpression pattern("^" + reader.pattern + "$");
    const QRegularExpressionMatch match = pattern.match(Plain(text));
    if (!match.hasMatch())
        return std::nullopt;
    int day = 0, month = 0, year = 0;
    for (qsizetype i = 0; i < reader.fields.size(); ++i) {
        const QString field = match.captured(int(i) + 1);
        const int value = field.toInt();
        switch (reader.fields[i].unicode()) {
        case 'y':
            year = field.size() == 2 ? (value < kCenturyPivot ? 2000 : 1900) + value : value;
            if (year < 100)
                return std::nullopt;
            break;
        case 'd':
            day = value;
            break;
        case 'M':
            month = value;
            break;
        case 'N':
            month = MonthNamed(field);
            break;
        default:
            break;
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
    if (auto date = ReadIsoDate(Plain(text)))
        return date;
    if (auto date = ReadShortDate(text))
        return date;
    return ReadLongDate(text);
}

// A time of day at the end of a text, in the locale's form or as typed anywhere: hours and
// minutes, optional seconds (with a fraction), and the locale's or the English morning and
// afternoon markers.
struct TrailingTime
{
    QString datePart;
    QTime time;
};

std::optional<TrailingTime> SplitTime(const QString& text)
{
    const QLocale locale;
    const QString plain = Plain(text);
    const FormatReader localeForm = ReaderOf(locale.timeFormat(QLocale::ShortFormat), ":.");
    FormatReader typedForm = ReaderOf(QStringLiteral("h:mm"), ":");
    typedForm.pattern += "(?:\\s*(" + Markers() + "))?";
    typedForm.fields += 'a';
    for (const FormatReader& reader : {localeForm, typedForm}) {
        const QRegularExpression pattern("(?:^|[\\sT,])" + reader.pattern + "$",
                                         QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = pattern.match(plain);
        if (!match.hasMatch())
            continue;
        int hour = 0, minute = 0, second = 0, ms = 0;
        QString marker;
        for (qsizetype i = 0; i < reader.fields.size(); ++i) {
            const QString field = match.captured(int(i) + 1);
            switch (reader.fields[i].unicode()) {
            case 'h':
                hour = field.toInt();
                break;
            case 'm':
                minute = field.toInt();
                break;
            case 's':
                second = field.toInt();
                break;
            case 'z':
                ms = field.leftJustified(3, '0').toInt();
                break;
            case 'a':
                marker = field.toLower();
                break;
            default:
                break;
            }
        }
        if (!marker.isEmpty()) {
            if (hour < 1 || hour > 12)
                return TrailingTime{QString(), QTime()};
            const bool afternoon = marker == "pm" || marker == Plain(locale.pmText()).toLower();
            hour = hour % 12 + (afternoon ? 12 : 0);
        }
        QString datePart = plain.left(match.capturedStart(0)).trimmed();
        // "2021-03-15T14:30" keeps its date whole: the T belongs to the ISO form only.
        if (plain.at(match.capturedStart(0)).toUpper() == 'T' && !ReadIsoDate(datePart))
            return TrailingTime{QString(), QTime()};
        if (datePart.endsWith(','))
            datePart = datePart.chopped(1).trimmed();
        return TrailingTime{datePart, QTime(hour, minute, second, ms)};
    }
    return std::nullopt;
}
} // namespace

// The year is widened because Qt's en_US "M/d/yy" would write 2021 as 21, which reads back as
// 1921 once it goes through a text box.
QString ShortDateFormat()
{
    LocaleTexts& texts = CurrentLocaleTexts();
    if (!texts.shortDateFormat.isEmpty())
        return texts.shortDateFormat;
    const QString format = texts.locale.dateFormat(QLocale::ShortFormat);
    QString widened;
    qsizetype copied = 0;
    for (const FormatPart& part : PartsOf(format)) {
        if (part.letter != 'y' || part.run >= 4)
            continue;
        widened += format.mid(copied, part.at - copied) + "yyyy";
        copied = part.at + part.run;
    }
    texts.shortDateFormat = widened + format.mid(copied);
    return texts.shortDateFormat;
}

QString DateText(const QDate& date)
{
    // A list shows the same few thousand days again and again: each is written once.
    constexpr qsizetype kRemembered = 16384;
    LocaleTexts& texts = CurrentLocaleTexts();
    if (const auto known = texts.dates.constFind(date.toJulianDay()); known != texts.dates.cend())
        return *known;
    if (texts.dates.size() >= kRemembered)
        texts.dates.clear();
    const QString text = texts.locale.toString(date, ShortDateFormat());
    texts.dates.insert(date.toJulianDay(), text);
    return text;
}

QString DateTimeText(const QDate& date, const QTime& time, bool hasTime)
{
    QString text = DateText(date);
    if (hasTime)
        text += ' ' + QLocale().toString(time, TimeFormat());
    return text;
}

QString IsoDateText(const QDate& date, const QTime& time, bool hasTime)
{
    const int year = date.year();
    // Written digit by digit: an export writes hundreds of thousands. The toolkit writes
    // the years it cannot (none, for those beyond four digits).
    if (!date.isValid() || year < 0 || year > 9999 || !time.isValid()) {
        const QString day = date.toString(Qt::ISODate);
        return hasTime ? day + ' ' + time.toString(Qt::ISODate) : day;
    }
    char16_t text[19];
    auto put = [&text](int at, int value, int digits) {
        for (int i = at + digits - 1; i >= at; --i, value /= 10)
            text[i] = char16_t(u'0' + value % 10);
    };
    put(0, year, 4);
    text[4] = u'-';
    put(5, date.month(), 2);
    text[7] = u'-';
    put(8, date.day(), 2);
    if (!hasTime)
        return QString(reinterpret_cast<const QChar*>(text), 10);
    text[10] = u' ';
    put(11, time.hour(), 2);
    text[13] = u':';
    put(14, time.minute(), 2);
    text[16] = u':';
    put(17, time.second(), 2);
    return QString(reinterpret_cast<const QChar*>(text), 19);
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
