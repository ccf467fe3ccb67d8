#pragma once

#include "platform/value/Currency.h"

#include <QString>

// The forms in which values are written into statement text.

// 'text' with every single quote doubled.
QString TextLiteral(const QString& text);
// A key as bare decimal digits; keys travel as text between windows, and a text that is no
// whole number is refused (Type mismatch) rather than pasted into the statement.
QString IdLiteral(const QString& id);
QString IdLiteral(long long id);
// A bare number with a point as decimal separator whatever the locale.
QString NumberLiteral(double value);
QString NumberLiteral(Currency value);
// CCur('<text>'): the engine's currency conversion of the text.
QString MoneyLiteral(const QString& text);
// 'text' as typed, or null for empty text. Quotes are doubled too: a date text never holds
// one, and a text that does must not end the literal early.
QString DateLiteralOrNull(const QString& text);
