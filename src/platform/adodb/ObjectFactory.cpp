#include "platform/adodb/ObjectFactory.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Functions.h"

#include <sqlite3.h>

namespace {

bool g_failForTesting = false;

[[noreturn]] void CannotCreate(const QString& reason)
{
    throw RuntimeError("ActiveX component can't create object: " + reason, 429);
}

// Closes the check's database however the check ends.
struct MemoryDatabase
{
    sqlite3* db = nullptr;
    ~MemoryDatabase() { sqlite3_close(db); }
};

// The dialect's functions, with answers that only working ones give: First and Last of
// 1, 2 are 1 and 2, and the currency conversion of '1' is 1 (a whole number, so that no
// locale reads it otherwise).
constexpr const char* kDialectProbe = "select CCur('1'), First(x), Last(x) from "
                                      "(select 1 as x union all select 2)";

void CheckEngine()
{
    if (g_failForTesting)
        CannotCreate("the database engine was made to fail");
    if (sqlite3_libversion_number() < kOldestSupportedSqlite)
        CannotCreate(QString("SQLite %1 is older than this program supports")
                         .arg(QString::fromUtf8(sqlite3_libversion())));
    MemoryDatabase memory;
    if (sqlite3_open_v2(":memory:", &memory.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY,
                        nullptr) != SQLITE_OK)
        CannotCreate("SQLite cannot open a database in memory");
    try {
        RegisterDialectFunctions(memory.db);
    } catch (const RuntimeError& error) {
        CannotCreate(error.Description());
    }
    sqlite3_stmt* probe = nullptr;
    bool works = sqlite3_prepare_v2(memory.db, kDialectProbe, -1, &probe, nullptr) == SQLITE_OK &&
                 sqlite3_step(probe) == SQLITE_ROW && sqlite3_column_double(probe, 0) == 1.0 &&
                 sqlite3_column_int(probe, 1) == 1 && sqlite3_column_int(probe, 2) == 2;
    sqlite3_finalize(probe);
    if (!works)
        CannotCreate("the statement functions CCur, First and Last do not work");
}

} // namespace

bool IsNothing(const AdoObject& object)
{
    return std::holds_alternative<std::monostate>(object);
}

AdoObject CreateObject(const QString& programId)
{
    const QString id = programId.toLower();
    if (id != "adodb.connection" && id != "adodb.recordset")
        CannotCreate(programId);
    CheckEngine();
    if (id == "adodb.connection")
        return std::make_unique<Connection>();
    return std::make_unique<Recordset>();
}

void SetObjectFactoryFailureForTesting(bool fail)
{
    g_failForTesting = fail;
}
