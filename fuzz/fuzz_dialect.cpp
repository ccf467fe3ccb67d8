// Feeds any text to the statement layer as a statement of the program's dialect: rewriting it
// may refuse it with a description but never crash, and what it gives the engine is one
// statement that the engine can parse or refuse.

#include "platform/RuntimeError.h"
#include "platform/adodb/Dialect.h"
#include "platform/adodb/Schema.h"

#include <cstdint>
#include <cstdlib>
#include <sqlite3.h>

namespace {

// The template opened read-only: its tables and views are those the program's statements name.
sqlite3* TemplateDatabase()
{
    static sqlite3* db = [] {
        sqlite3* handle = nullptr;
        if (sqlite3_open_v2(TARNWICK_TEMPLATE_DB, &handle, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK)
            std::abort();
        return handle;
    }();
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Schema schema = LoadSchema(TemplateDatabase());
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString rewritten;
    try {
        rewritten = RewriteStatement(sql, schema);
    } catch (const RuntimeError& error) {
        if (error.Description().isEmpty())
            std::abort(); // a refusal must say what it refused
        return 0;
    }
    const QByteArray text = rewritten.toUtf8();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(TemplateDatabase(), text.constData(), int(text.size()), &statement, nullptr);
    sqlite3_finalize(statement);
    return 0;
}
