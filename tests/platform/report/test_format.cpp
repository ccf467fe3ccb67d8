#include "support/TestSupport.h"

#include "platform/report/DataFormat.h"

#include <QTest>
#include <limits>

// The text box forms: money and dates keep their own separators under any program locale;
// general is the value's text form under the program's locale.
class TestFormat : public QObject
{
    Q_OBJECT

private slots:
    void moneyIsGroupedWithANoBreakSpaceUnderEveryLocale();
    void moneyOfNumericTextFollowsTheProgramLocale();
    void datesPrintDayMonthYear();
    void missingValuesShowNothing();
    void generalIsTheLocaleTextForm();
};

namespace {

const DataFormat kMoney{DataFormat::Type::Money, QString::fromUtf8("#\u00A0##0,00\"р.\"")};
const DataFormat kDate{DataFormat::Type::Date, "dd.MM.yyyy"};
const DataFormat kGeneral{};

Variant Money(std::int64_t tenThousandths)
{
    return Variant::FromCurrency(Currency::FromTenThousandths(tenThousandths));
}

QString Rub(const char* digits)
{
    return QString::fromUtf8(digits).replace(' ', QChar(0x00A0)) + QString::fromUtf8("р.");
}

} // namespace

void TestFormat::moneyIsGroupedWithANoBreakSpaceUnderEveryLocale()
{
    for (const char* locale : {"en_US", "de_DE"}) {
        TestEnvironment env(locale);
        QCOMPARE(FormatValue(Money(12345000), kMoney), Rub("1 234,50"));
        QCOMPARE(FormatValue(Money(0), kMoney), Rub("0,00"));
        QCOMPARE(FormatValue(Money(-12345678910), kMoney), Rub("-1 234 567,89"));
        QCOMPARE(FormatValue(Money(9999999), kMoney), Rub("1 000,00"));
        // Halves round away from zero; what rounds to nothing carries no sign.
        QCOMPARE(FormatValue(Money(50), kMoney), Rub("0,01"));
        QCOMPARE(FormatValue(Money(-50), kMoney), Rub("-0,01"));
        QCOMPARE(FormatValue(Money(-40), kMoney), Rub("0,00"));
        QCOMPARE(FormatValue(Variant::FromLong(999), kMoney), Rub("999,00"));
        QCOMPARE(FormatValue(Variant::FromDouble(1234567.125), kMoney), Rub("1 234 567,13"));
        QCOMPARE(FormatValue(Money(std::numeric_limits<std::int64_t>::min()), kMoney),
                 Rub("-922 337 203 685 477,58"));
    }
}

void TestFormat::moneyOfNumericTextFollowsTheProgramLocale()
{
    {
        TestEnvironment env("en_US");
        QCOMPARE(FormatValue(Variant::FromString("1234.5"), kMoney), Rub("1 234,50"));
        QCOMPARE(FormatValue(Variant::FromString("12 Euro"), kMoney), QString("12 Euro"));
    }
    TestEnvironment env("de_DE");
    QCOMPARE(FormatValue(Variant::FromString("1234,5"), kMoney), Rub("1 234,50"));
}

void TestFormat::datesPrintDayMonthYear()
{
    for (const char* locale : {"en_US", "de_DE"}) {
        TestEnvironment env(locale);
        QCOMPARE(
            FormatValue(Variant::FromDate(QDateTime(QDate(2026, 12, 5), QTime()), false), kDate),
            QString("05.12.2026"));
        QCOMPARE(FormatValue(Variant::FromDate(QDateTime(QDate(2021, 3, 1), QTime(14, 30)), true),
                             kDate),
                 QString("01.03.2021"));
        QCOMPARE(FormatValue(Variant::FromString("not a date"), kDate), QString("not a date"));
    }
    TestEnvironment env("en_US");
    QCOMPARE(FormatValue(Variant::FromString("3/15/2021"), kDate), QString("15.03.2021"));
}

void TestFormat::missingValuesShowNothing()
{
    TestEnvironment env;
    for (const DataFormat& format : {kMoney, kDate, kGeneral}) {
        QCOMPARE(FormatValue(Variant::Null(), format), QString());
        QCOMPARE(FormatValue(Variant(), format), QString());
    }
}

void TestFormat::generalIsTheLocaleTextForm()
{
    {
        TestEnvironment env("en_US");
        QCOMPARE(FormatValue(Money(12345000), kGeneral), QString("1234.5"));
        QCOMPARE(
            FormatValue(Variant::FromDate(QDateTime(QDate(2026, 12, 5), QTime()), false), kGeneral),
            QString("12/5/2026"));
    }
    TestEnvironment env("de_DE");
    QCOMPARE(FormatValue(Money(12345000), kGeneral), QString("1234,5"));
    // A date form does not apply to a number: it shows in its general form.
    QCOMPARE(FormatValue(Variant::FromLong(42), kDate), QString("42"));
}

QTEST_MAIN(TestFormat)
#include "test_format.moc"
