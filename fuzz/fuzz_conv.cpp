// Feeds any text to the conversions: none may crash, and money written by the money format
// reads back as the same amount in cents.

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"

#include <QLocale>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool localeSet = [] {
        QLocale::setDefault(QLocale(qEnvironmentVariable("FUZZ_LOCALE", "en_US")));
        return true;
    }();
    (void)localeSet;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool numeric = IsNumeric(text);
    (void)ParseDate(text);
    try {
        (void)Val(text);
    } catch (const RuntimeError&) {
    }
    try {
        const Currency amount = CCur(text);
        if (!numeric)
            std::abort(); // a text the numeric test refuses was converted
        const Currency cents = Currency::FromTenThousandths(amount.TenThousandths() / 100 * 100);
        if (CCur(FormatMoney(cents)) != cents)
            std::abort();
    } catch (const RuntimeError& e) {
        if (numeric && !e.Description().startsWith("Overflow"))
            std::abort(); // a numeric text was refused
    }
    return 0;
}
