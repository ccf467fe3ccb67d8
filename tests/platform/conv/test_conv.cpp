#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "support/TestSupport.h"

#include <QTest>
#include <functional>

// Numbers and dates read from text, money and dates written as text, and the text form of
// every kind of value, under a decimal-point and a decimal-comma locale.
class TestConv : public QObject
{
    Q_OBJECT

private:
    static QDate DateOf(const QString& text)
    {
        const std::optional<DateValue> value = ParseDate(text);
        return value ? value->value.date() : QDate();
    }
    static qint64 Units(const QString& text) { return CCur(text).TenThousandths(); }
    // The description of the error `convert` raises; "" when it raises none.
    static QString ErrorOf(const std::function<void()>& convert)
    {
        try {
            convert();
        } catch (const RuntimeError& e) {
            return e.Description();
        }
        return QString();
    }
    static void Locales()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("de_DE") << "de_DE";
    }

private slots:
    // Every locale Qt knows reads back the dates and times it writes: native digits,
    // direction marks, a year first, literal text after the date ("г.") or around the time,
    // the morning and afternoon markers before the time.
    void everyLocaleReadsBackItsOwnDatesAndTimes()
    {
        TestEnvironment env;
        const std::pair<const char*, const char*> forms[] = {
            {"en_US", "12/8/2026"}, {"de_DE", "08.12.2026"}, {"hu_HU", "2026. 12. 08."}};
        for (const auto& [locale, text] : forms) {
            QLocale::setDefault(QLocale(locale));
            QCOMPARE(DateText(QDate(2026, 12, 8)), QString(text));
        }
        QList<QLocale> locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory);
        locales << QLocale::c();
        QStringList unread;
        for (const QLocale& locale : locales) {
            QLocale::setDefault(locale);
            for (const QDateTime& value : {QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5)),
                                           QDateTime(QDate(1700, 1, 1), QTime(0, 0, 1)),
                                           QDateTime(QDate(100, 2, 3), QTime(23, 59, 59)),
                                           QDateTime(QDate(9999, 12, 31), QTime(12, 0))}) {
                const QString date = DateText(value.date());
                const QString time = DateTimeText(value.date(), value.time(), true);
                if (DateOf(date) != value.date() || !ParseDate(time) ||
                    ParseDate(time)->value != value)
                    unread << locale.name() + ": " + time;
            }
        }
        QCOMPARE(unread, QStringList());
    }

    void writesIsoDatesAsTheToolkitDoes()
    {
        for (const QDate& day :
             {QDate(2026, 12, 8), QDate(100, 2, 3), QDate(-5, 1, 1), QDate(12345, 1, 1), QDate()})
            for (const bool hasTime : {false, true}) {
                const QString iso = day.toString(Qt::ISODate);
                QCOMPARE(IsoDateText(day, QTime(9, 4, 3), hasTime),
                         hasTime ? iso + " 09:04:03" : iso);
            }
    }

    void readsTheLocaleDateFormsAndIso()
    {
        TestEnvironment env("en_US");
        for (const char* text :
             {"3/15/2021", "3-15-2021", "2021-03-15", "Monday, March 15, 2021", "Mar 15, 2021"})
            QCOMPARE(DateOf(text), QDate(2021, 3, 15));
        QCOMPARE(DateOf(" 03/05/2021 "), QDate(2021, 3, 5));
        QCOMPARE(DateOf("3/15/29"), QDate(2029, 3, 15));
        QCOMPARE(DateOf("3/15/30"), QDate(1930, 3, 15));
        QCOMPARE(DateOf("2/29/2024"), QDate(2024, 2, 29));
        for (const char* text : {"", "abc", "31/02/2021", "2/30/2021", "2/29/2023", "13/1/2021",
                                 "3/15/021", "3/15/2021x", "3/15", "14:30", "2021-3-15",
                                 "Tuesday, March 15, 2021", "February 31, 2021", "0/1/2021"})
            QVERIFY2(!IsDate(text), text);
        QLocale::setDefault(QLocale("de_DE"));
        QCOMPARE(DateOf("15.3.21"), QDate(2021, 3, 15));
        QCOMPARE(DateOf("15. März 2021"), QDate(2021, 3, 15));
        QVERIFY(!IsDate("31.02.2021"));
        QVERIFY(!IsDate("3/15/2021"));
    }

    void timesOfDay()
    {
        TestEnvironment env("en_US");
        const auto timeOf = [](const QString& text) {
            const std::optional<DateValue> value = ParseDate(text);
            return value && value->hasTime ? value->value.time() : QTime();
        };
        QCOMPARE(timeOf("3/15/2021 2:30 PM"), QTime(14, 30));
        QCOMPARE(timeOf("3/15/2021 12:05 am"), QTime(0, 5));
        QCOMPARE(timeOf("3/15/2021 12:05:09 PM"), QTime(12, 5, 9));
        QCOMPARE(timeOf("2021-03-15T23:59:59.250"), QTime(23, 59, 59, 250));
        QCOMPARE(timeOf("March 15, 2021 8:00"), QTime(8, 0));
        // Midnight is the date alone.
        const std::optional<DateValue> midnight = ParseDate("3/15/2021 0:00");
        QVERIFY(midnight && !midnight->hasTime);
        for (const char* text : {"3/15/2021 13:00 PM", "3/15/2021 0:30 AM", "3/15/2021 24:00",
                                 "3/15/2021 10:60", "3/15/2021T10:00"})
            QVERIFY2(!IsDate(text), text);
        const QString error = ErrorOf([] { CDate("someday"); });
        QVERIFY2(error.startsWith("Type mismatch") && error.contains("someday"), qPrintable(error));
    }

    void textAndMoneyOfEveryValue()
    {
        TestEnvironment env("de_DE");
        QCOMPARE(TextOf(Variant()), QString());
        QCOMPARE(TextOf(Variant::Null()), QString());
        QCOMPARE(TextOf(Variant::FromLong(1234567)), QString("1234567"));
        QCOMPARE(TextOf(Variant::FromDouble(-2.5)), QString("-2,5"));
        QCOMPARE(TextOf(Variant::FromCurrency(Currency::FromTenThousandths(12345000))),
                 QString("1234,5"));
        QCOMPARE(TextOf(Variant::FromCurrency(Currency::FromTenThousandths(-1))),
                 QString("-0,0001"));
        QCOMPARE(TextOf(Variant::FromDate(QDateTime(QDate(2021, 3, 15), QTime(0, 0)), false)),
                 QString("15.03.2021"));
        QCOMPARE(TextOf(Variant::FromDate(QDateTime(QDate(2021, 3, 15), QTime(9, 5, 7)), true)),
                 QString("15.03.2021 09:05:07"));
        QCOMPARE(TextOf(Variant::FromBoolean(true)), QString("True"));
        QCOMPARE(TextOf(Variant::FromString("O'Neil")), QString("O'Neil"));
        QCOMPARE(CStr(Variant()), QString());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, CStr(Variant::Null()));

        QCOMPARE(CCur(Variant::FromLong(584)).TenThousandths(), 5840000);
        QCOMPARE(CCur(Variant::FromDouble(0.09375)).TenThousandths(), 938);
        QCOMPARE(CCur(Variant::FromString("1.234,5")).TenThousandths(), 12345000);
        QCOMPARE(CCur(Variant()).TenThousandths(), 0);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, CCur(Variant::Null()));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, CCur(Variant::FromLong(1'000'000'000'000'000)));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, CCur(Variant::FromDouble(1e300)));
        // Exact ties of the double go to the even neighbour.
        QCOMPARE(Currency::FromDouble(0.03125)->TenThousandths(), 312);
        QCOMPARE(Currency::FromDouble(-0.09375)->TenThousandths(), -938);
        QVERIFY(!Currency::FromDouble(std::nan("")));
        QVERIFY(!Currency::FromDouble(9.3e14));
    }

    void numericTestFollowsTheLocale()
    {
        TestEnvironment us("en_US");
        for (const char* text : {"12.5", "$1,234.50", " -5 ", "+7", "-$5.00", "$-5.00", "1e3", ".5",
                                 "5.", "1,234,567.891", "$ 12"})
            QVERIFY2(IsNumeric(text), text);
        // A group of other than three digits is a mistyped separator, not a thousand.
        for (const char* text : {"", "   ", "abc", "12abc", "1,2", "1,2345", "12,5", "$", "-",
                                 "1.2.3", "1e", "--5", "5 €", "٣"})
            QVERIFY2(!IsNumeric(text), text);
        // The accounting form of a negative amount, and the French one.
        QCOMPARE(Units("($1,234.50)"), -12345000);
        QVERIFY(!IsNumeric("(-5)") && !IsNumeric("(5") && !IsNumeric("()"));
        QLocale::setDefault(QLocale("fr_FR"));
        QCOMPARE(Units("-5,00 $"), -50000);
        QLocale::setDefault(QLocale("de_DE"));
        for (const char* text : {"12,5", "1.234,50", "$1.234,50", "5 €", "€-5"})
            QVERIFY2(IsNumeric(text), text);
        for (const char* text : {"12.5", "$1,234.50", "1.2"})
            QVERIFY2(!IsNumeric(text), text);
    }

    void currencyFromTextIsExactAndRoundsHalfToEven()
    {
        TestEnvironment env("en_US");
        QCOMPARE(Units("$1,234.50"), 12345000);
        QCOMPARE(Units("0.1"), 1000);
        QCOMPARE(Units("-0.0001"), -1);
        QCOMPARE(Units("0.00005"), 0);
        QCOMPARE(Units("0.00015"), 2);
        QCOMPARE(Units("0.000051"), 1);
        QCOMPARE(Units("-0.00025"), -2);
        QCOMPARE(Units("1.5e2"), 1500000);
        QCOMPARE(Units("25e-6"), 0);
        QCOMPARE(Units("0e999999999"), 0);
        QCOMPARE(Units("922337203685477.5807"), std::numeric_limits<qint64>::max());
        QCOMPARE(Units("-922337203685477.5808"), std::numeric_limits<qint64>::min());
        for (const char* text : {"922337203685477.5808", "922337203685477.58075", "1e999999999"})
            QVERIFY2(ErrorOf([text] { CCur(QString(text)); }).startsWith("Overflow"), text);
        const QString error = ErrorOf([] { CCur(QString("12 apples")); });
        QVERIFY2(error.startsWith("Type mismatch") && error.contains("12 apples"),
                 qPrintable(error));
    }

    void moneyFormatRoundTripsThroughCurrency_data() { Locales(); }
    void moneyFormatRoundTripsThroughCurrency()
    {
        QFETCH(QString, locale);
        TestEnvironment env(locale);
        const bool comma = locale == "de_DE";
        const auto local = [comma](QString text) {
            return comma ? text.replace('.', ';').replace(',', '.').replace(';', ',') : text;
        };
        QCOMPARE(FormatMoney(Currency::FromTenThousandths(12345000)), local("$1,234.50"));
        QCOMPARE(FormatMoney(0.0), local("$0.00"));
        QCOMPARE(FormatMoney(-5.0), local("-$5.00"));
        QCOMPARE(FormatMoney(999.995), local("$1,000.00"));
        QCOMPARE(FormatMoney(-0.004), local("$0.00"));
        QCOMPARE(FormatMoney(0.1 + 0.2), local("$0.30"));
        QCOMPARE(FormatMoney(1e20), local("$100,000,000,000,000,000,000.00"));
        for (qint64 units : {qint64(0), qint64(100), qint64(-50000), qint64(123456789012300),
                             std::numeric_limits<qint64>::min() + 7}) {
            const Currency amount = Currency::FromTenThousandths(units / 100 * 100);
            QCOMPARE(CCur(FormatMoney(amount)), amount);
        }
        QCOMPARE(CurrencyText(Currency::FromTenThousandths(12345000)), local("1234.5"));
        QCOMPARE(CCur(CurrencyText(Currency::FromTenThousandths(-12345678))).TenThousandths(),
                 -12345678);
        QCOMPARE(Currency::FromTenThousandths(std::numeric_limits<qint64>::min()).DecimalText(),
                 "-922337203685477.5808");
        QCOMPARE(NumberText(2.5), local("2.5"));
        QCOMPARE(NumberText(0.1 + 0.2), local("0.3"));
    }

    void leadingNumberIgnoresTheLocale()
    {
        TestEnvironment env("de_DE");
        QCOMPARE(Val("  12abc"), 12.0);
        QCOMPARE(Val("2,5"), 2.0);
        QCOMPARE(Val("-.5"), -0.5);
        QCOMPARE(Val("1.2.3"), 1.2);
        QCOMPARE(Val("+3.5e-2 m"), 0.035);
        QCOMPARE(Val("1e"), 1.0);
        QCOMPARE(Val("1e-400"), 0.0);
        for (const char* text : {"", "abc", "$5", ".", "-", "e5"})
            QCOMPARE(Val(text), 0.0);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Val("1e400"));
    }
};

QTEST_GUILESS_MAIN(TestConv)
#include "test_conv.moc"
