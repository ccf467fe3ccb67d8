#include "platform/adodb/Functions.h"

#include "platform/RuntimeError.h"
#include "platform/conv/Conv.h"
#include "platform/conv/TextOrder.h"

#include <sqlite3.h>

#include <cmath>

namespace {

// CCur(x): text goes through the system's currency conversion, so "1,234.50" and "$5" read
// as they do for the user; numbers are rounded to ten-thousandths; null stays null.
void CCurFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    sqlite3_value* argument = arguments[0];
    try {
        switch (sqlite3_value_type(argument)) {
        case SQLITE_NULL:
            sqlite3_result_null(context);
            return;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const auto amount = Currency::FromDouble(sqlite3_value_double(argument));
            if (!amount)
                throw RuntimeError("Overflow in CCur");
            sqlite3_result_double(context, amount->ToDouble());
            return;
        }
        default: {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argument)),
                                  sqlite3_value_bytes(argument));
            sqlite3_result_double(context, CCur(text).ToDouble());
            return;
        }
        }
    } catch (const RuntimeError& error) {
        const QByteArray message = error.Description().toUtf8();
        sqlite3_result_error(context, message.constData(), int(message.size()));
    }
}

// The aggregate's state: a copy of the value it keeps.
struct Kept
{
    sqlite3_value* value;
    bool seen;
};

Kept* State(sqlite3_context* context)
{
    return static_cast<Kept*>(sqlite3_aggregate_context(context, sizeof(Kept)));
}

void Keep(sqlite3_context* context, sqlite3_value* value, bool replace)
{
    Kept* kept = State(context);
    if (!kept) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (kept->seen && !replace)
        return;
    sqlite3_value_free(kept->value);
    kept->value = sqlite3_value_dup(value);
    kept->seen = true;
}

void FirstStep(sqlite3_context* context, int, sqlite3_value** arguments)
{
    Keep(context, arguments[0], false);
}

void LastStep(sqlite3_context* context, int, sqlite3_value** arguments)
{
    Keep(context, arguments[0], true);
}

// Null when no row was read.
void KeptFinal(sqlite3_context* context)
{
    Kept* kept = static_cast<Kept*>(sqlite3_aggregate_context(context, 0));
    if (kept && kept->value) {
        sqlite3_result_value(context, kept->value);
        sqlite3_value_free(kept->value);
    } else {
        sqlite3_result_null(context);
    }
}

int TextOrder(void*, int aBytes, const void* a, int bBytes, const void* b)
{
    return CompareText(QStringView(static_cast<const char16_t*>(a), aBytes / 2),
                       QStringView(static_cast<const char16_t*>(b), bBytes / 2));
}

void Check(sqlite3* db, int result, const char* name)
{
    if (result != SQLITE_OK)
        throw RuntimeError(QStringLiteral("The statement function %1 cannot be registered: %2")
                               .arg(QLatin1String(name), QString::fromUtf8(sqlite3_errmsg(db))));
}

} // namespace

void RegisterDialectFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    Check(db,
          sqlite3_create_function(db, "CCur", 1, flags, nullptr, CCurFunction, nullptr, nullptr),
          "CCur");
    Check(db,
          sqlite3_create_function(db, "First", 1, SQLITE_UTF8, nullptr, nullptr, FirstStep,
                                  KeptFinal),
          "First");
    Check(
        db,
        sqlite3_create_function(db, "Last", 1, SQLITE_UTF8, nullptr, nullptr, LastStep, KeptFinal),
        "Last");
    Check(db, sqlite3_create_collation(db, kTextOrder, SQLITE_UTF16, nullptr, TextOrder),
          kTextOrder);
}
