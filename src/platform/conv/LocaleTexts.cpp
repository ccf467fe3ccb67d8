#include "platform/conv/LocaleTexts.h"

#include <optional>

LocaleTexts& CurrentLocaleTexts()
{
    thread_local std::optional<LocaleTexts> texts;
    const QLocale locale;
    if (!texts || texts->locale != locale)
        texts.emplace(LocaleTexts{locale, {}, {}, {}});
    return *texts;
}
