#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "support/TestSupport.h"

#include <QTest>

// Numbers read from text and money written as text, under a decimal-point and a
// decimal-comma locale.
class TestNumbers : public QObject
{
    Q_OBJECT

private:
    static qint64 Units(const QString& text) { return CCur(text).TenThousandths(); }

    static void Locales()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("de_DE") << "de_DE";
    }

private slots:
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
        for (const char* text : {"922337203685477.5808", "922337203685477.58075", "1e999999999"}) {
            try {
                CCur(QString(text));
                QFAIL(text);
            } catch (const RuntimeError& e) {
                QVERIFY2(e.Description().startsWith("Overflow"), text);
            }
        }
        try {
            CCur(QString("12 apples"));
            QFAIL("no error");
        } catch (const RuntimeError& e) {
            QVERIFY(e.Description().startsWith("Type mismatch"));
            QVERIFY(e.Description().contains("12 apples"));
        }
    }

    void currencyOfStoredValues()
    {
        TestEnvironment env("de_DE");
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

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
