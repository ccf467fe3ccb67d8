#pragma once

#include <QString>

// The location text the error report names for a procedure of the asset editor.
inline QString Form4Location(const char* procedure)
{
    return QStringLiteral("in Tarnwick2021/08/31.Form4.") + QLatin1String(procedure) +
           QLatin1Char(' ');
}
