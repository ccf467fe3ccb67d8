#include "platform/conv/TextOrder.h"

#include <QLocale>
#include <optional>

QCollator TextCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int CompareText(QStringView a, QStringView b)
{
    // Making a collator is costly; one is kept per thread until the program's locale changes.
    thread_local QLocale madeFor;
    thread_local std::optional<QCollator> collator;
    if (!collator || QLocale() != madeFor) {
        collator = TextCollator();
        madeFor = QLocale();
    }
    return collator->compare(a, b);
}
