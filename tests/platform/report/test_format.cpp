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
    void everyFormUnderBothLocales();
};

namespace {

const DataFormat kMoney{DataFormat::Type::Money, QString::fromUtf8("#\u00A0##0,00\"р.\"")};
const DataFormat kDate{DataFormat::Type::Date, "dd.MM.yyyy"};
const DataFormat kGeneral{};

Variant Money(std::int64_t tenThousandths)
{
    return Variant::FromCurrency(Currency::FromTenThousandths(tenThousandths));
}

Variant Day(int year, int month, int day, QTime time = {})
{
    return Variant::FromDate(QDateTime(QDate(year, month, day), time), time.isValid());
}

QString Rub(const char* digits)
{
    return QString::fromUtf8(digits).replace(' ', QChar(0x00A0)) + QString::fromUtf8("р.");
}

} // namespace

void TestFormat::everyFormUnderBothLocales()
{
    const struct
    {
        const char* locales; // where the row applies: "" under both
        Variant value;
        DataFormat format;
        QString shown;
    } cases[] = {
        {"", Money(12345000), kMoney, Rub("1 234,50")},
        {"", Money(0), kMoney, Rub("0,00")},
        {"", Money(-12345678910), kMoney, Rub("-1 234 567,89")},
        {"", Money(9999999), kMoney, Rub("1 000,00")},
        // Halves round away from zero; what rounds to nothing carries no sign.
        {"", Money(50), kMoney, Rub("0,01")},
        {"", Money(-50), kMoney, Rub("-0,01")},
        {"", Money(-40), kMoney, Rub("0,00")},
        {"", Variant::FromLong(999), kMoney, Rub("999,00")},
        {"", Variant::FromDouble(1234567.125), kMoney, Rub("1 234 567,13")},
        {"", Money(std::numeric_limits<std::int64_t>::min()), kMoney,
         Rub("-922 337 203 685 477,58")},
        // Numeric text is read under the program's locale; other text shows as it is.
        {"en_US", Variant::FromString("1234.5"), kMoney, Rub("1 234,50")},
        {"de_DE", Variant::FromString("1234,5"), kMoney, Rub("1 234,50")},
        {"en_US", Variant::FromString("12 Euro"), kMoney, "12 Euro"},
        {"", Day(2026, 12, 5), kDate, "05.12.2026"},
        {"", Day(2021, 3, 1, QTime(14, 30)), kDate, "01.03.2021"},
        {"", Variant::FromString("not a date"), kDate, "not a date"},
        {"en_US", Variant::FromString("3/15/2021"), kDate, "15.03.2021"},
        {"en_US", Money(12345000), kGeneral, "1234.5"},
        {"de_DE", Money(12345000), kGeneral, "1234,5"},
        {"en_US", Day(2026, 12, 5), kGeneral, "12/5/2026"},
        // A date form does not apply to a number: it shows in its general form.
        {"de_DE", Variant::FromLong(42), kDate, "42"},
        // Missing values show nothing.
        {"", Variant::Null(), kMoney, ""},
        {"", Variant(), kMoney, ""},
        {"", Variant::Null(), kDate, ""},
        {"", Variant(), kDate, ""},
        {"", Variant::Null(), kGeneral, ""},
        {"", Variant(), kGeneral, ""},
    };
    for (const char* locale : {"en_US", "de_DE"}) {
        TestEnvironment env(locale);
        for (const auto& k : cases) {
            if (!QString(k.locales).isEmpty() && k.locales != QString(locale))
                continue;
            QCOMPARE(FormatValue(k.value, k.format), k.shown);
        }
    }
}

QTEST_MAIN(TestFormat)
#include "test_format.moc"
