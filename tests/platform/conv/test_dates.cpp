#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "support/TestSupport.h"

#include <QTest>

// Dates read from text and written back, and the text form of every kind of value.
class TestDates : public QObject
{
    Q_OBJECT

private:
    static QDate DateOf(const QString& text)
    {
        const std::optional<DateValue> value = ParseDate(text);
        return value ? value->value.date() : QDate();
    }

private slots:
    void shortFormHasAFourDigitYearAndReadsBack_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("written");
        QTest::newRow("en_US") << "en_US"
                               << "3/5/2061";
        QTest::newRow("de_DE") << "de_DE"
                               << "05.03.2061";
    }
    void shortFormHasAFourDigitYearAndReadsBack()
    {
        QFETCH(QString, locale);
        QFETCH(QString, written);
        TestEnvironment env(locale);
        QCOMPARE(DateText(QDate(2061, 3, 5)), written);
        // Years outside the two-digit window survive the text form too.
        for (const QDate& date : {QDate(1901, 1, 1), QDate(2024, 2, 29), QDate(2061, 3, 5)})
            QCOMPARE(DateOf(DateText(date)), date);
        const QDateTime afternoon(QDate(2021, 3, 15), QTime(14, 30, 5));
        const std::optional<DateValue> back = ParseDate(DateTimeText(afternoon, true));
        QVERIFY(back && back->hasTime);
        QCOMPARE(back->value, afternoon);
        QCOMPARE(DateTimeText(afternoon, false), DateText(afternoon.date()));
    }

    void readsTheLocaleFormsAndIso()
    {
        TestEnvironment env("en_US");
        QCOMPARE(DateOf("3/15/2021"), QDate(2021, 3, 15));
        QCOMPARE(DateOf(" 03/05/2021 "), QDate(2021, 3, 5));
        QCOMPARE(DateOf("3-15-2021"), QDate(2021, 3, 15));
        QCOMPARE(DateOf("3/15/29"), QDate(2029, 3, 15));
        QCOMPARE(DateOf("3/15/30"), QDate(1930, 3, 15));
        QCOMPARE(DateOf("2021-03-15"), QDate(2021, 3, 15));
        QCOMPARE(DateOf("Monday, March 15, 2021"), QDate(2021, 3, 15));
        QCOMPARE(DateOf("Mar 15, 2021"), QDate(2021, 3, 15));
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
        try {
            CDate("someday");
            QFAIL("no error");
        } catch (const RuntimeError& e) {
            QVERIFY(e.Description().startsWith("Type mismatch"));
            QVERIFY(e.Description().contains("someday"));
        }
    }

    void textOfEveryValue()
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
    }
};

QTEST_GUILESS_MAIN(TestDates)
#include "test_dates.moc"
