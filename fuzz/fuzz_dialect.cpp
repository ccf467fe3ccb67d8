// Feeds any text to the statement layer as a statement of the program's dialect: rewriting it
// may refuse it with a description but never crash, and what it gives the engine is one
// statement that the engine can parse or refuse. A statement the engine takes is run on a
// scratch copy of the template held in memory, with the program's own statement functions,
// and undone afterwards.

#include "platform/RuntimeError.h"
#include "platform/adodb/Dialect.h"
#include "platform/adodb/Functions.h"
#include "platform/adodb/Schema.h"

#include <cstdint>
#include <cstdlib>
#include <sqlite3.h>

namespace {

bool g_running = false; // while the fuzzed statement itself runs

// Nothing the statement does may reach outside the scratch copy or end the transaction that
// undoes it.
int Authorize(void*, int action, const char*, const char*, const char*, const char*)
{
    if (!g_running)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
    case SQLITE_PRAGMA:
        return SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

// Long joins and endless recursion are cut short.
int Progress(void*)
{
    return 1;
}

// The template copied into memory: its tables and views are those the program's statements
// name.
sqlite3* ScratchDatabase()
{
    static sqlite3* db = [] {
        sqlite3* source = nullptr;
        sqlite3* scratch = nullptr;
        if (sqlite3_open_v2(TARNWICK_TEMPLATE_DB, &source, SQLITE_OPEN_READONLY, nullptr) !=
                SQLITE_OK ||
            sqlite3_open(":memory:", &scratch) != SQLITE_OK)
            std::abort();
        sqlite3_backup* copy = sqlite3_backup_init(scratch, "main", source, "main");
        if (!copy || sqlite3_backup_step(copy, -1) != SQLITE_DONE)
            std::abort();
        sqlite3_backup_finish(copy);
        sqlite3_close(source);
        RegisterDialectFunctions(scratch);
        sqlite3_set_authorizer(scratch, Authorize, nullptr);
        sqlite3_limit(scratch, SQLITE_LIMIT_ATTACHED, 0);
        return scratch;
    }();
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sqlite3* db = ScratchDatabase();
    static const Schema schema = LoadSchema(db);
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString rewritten;
    try {
        // The server's form is only made, never run: it must not crash either.
        RewriteStatement(sql, schema, SqlDialect::Postgres, QStringLiteral("\"und-x-icu\""));
        rewritten = RewriteStatement(sql, schema, SqlDialect::Sqlite, QLatin1String(kTextOrder));
    } catch (const RuntimeError& error) {
        if (error.Description().isEmpty())
            std::abort(); // a refusal must say what it refused
        return 0;
    }
    const QByteArray text = rewritten.toUtf8();
    sqlite3_exec(db, "savepoint fuzz", nullptr, nullptr, nullptr);
    // The authorizer is asked while the statement is compiled.
    g_running = true;
    sqlite3_progress_handler(db, 100000, Progress, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) ==
        SQLITE_OK) {
        for (int row = 0; row < 1000 && sqlite3_step(statement) == SQLITE_ROW; ++row) {
            for (int column = 0; column < sqlite3_column_count(statement); ++column)
                sqlite3_column_text(statement, column);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    g_running = false;
    sqlite3_exec(db, "rollback to fuzz; release fuzz", nullptr, nullptr, nullptr);
    return 0;
}
