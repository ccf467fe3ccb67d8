#pragma once

#include <QCollator>
#include <QStringView>

// How the program orders text wherever it sorts (the lookup lists, the main list): without
// regard to case, accents beside their base letter, by the rules of the program's locale. The
// C locale, whose own rule is the order of the characters' codes, sorts by the common rules
// of the Unicode collation.
QCollator TextCollator();

// Compares as TextCollator() does: below 0, 0 or above 0.
int CompareText(QStringView a, QStringView b);
