#pragma once

#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"

#include <QString>
#include <memory>
#include <variant>

// A data-access object created by its program identifier; monostate is "Nothing", an
// object not created.
using AdoObject =
    std::variant<std::monostate, std::unique_ptr<Connection>, std::unique_ptr<Recordset>>;

bool IsNothing(const AdoObject& object);

// Creates "ADODB.Connection" or "ADODB.Recordset" (any letter case), after checking that the
// loaded SQLite library can serve the program: a version this layer supports, an in-memory
// database that opens, and the dialect's functions CCur, First and Last registering and
// giving their results. Throws RuntimeError 429 "ActiveX component can't create object"
// with the reason when the check fails or the identifier is unknown.
AdoObject CreateObject(const QString& programId);

// The oldest SQLite this layer runs on.
constexpr int kOldestSupportedSqlite = 3031000;

// Makes every CreateObject fail as it does when the engine cannot serve the program.
void SetObjectFactoryFailureForTesting(bool fail);
