// Makes the empty template database from the schema text: make_template <schema.sql> <out>.
// The database is built under a temporary name and renamed into place, so an interrupted
// build never leaves a half-made template behind.

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int Fail(const std::string& what)
{
    std::fprintf(stderr, "make_template: %s\n", what.c_str());
    return 1;
}

bool Exec(sqlite3* db, const std::string& sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Fail("usage: make_template <schema.sql> <out>");
    std::ifstream in(argv[1]);
    if (!in)
        return Fail(std::string("cannot read ") + argv[1]);
    std::stringstream schema;
    schema << in.rdbuf();

    const std::string out = argv[2];
    const std::string temporary = out + ".tmp";
    std::remove(temporary.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return Fail("cannot create " + temporary);
    }
    // A rollback journal keeps the database one self-contained file that users can copy.
    std::string error;
    const bool made = Exec(db, "PRAGMA journal_mode=DELETE", error) && Exec(db, "BEGIN", error) &&
                      Exec(db, schema.str(), error) && Exec(db, "COMMIT", error);
    sqlite3_close(db);
    if (!made) {
        std::remove(temporary.c_str());
        return Fail(std::string(argv[1]) + ": " + error);
    }
    if (std::rename(temporary.c_str(), out.c_str()) != 0)
        return Fail("cannot rename " + temporary + " to " + out);
    return 0;
}
