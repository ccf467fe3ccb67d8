#pragma once
// What the benchmarks share: a database filled as an office fills it, the floor of reading
// its asset rows straight from SQLite, and timing and printing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

inline void Exec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, message);
        sqlite3_free(message);
        std::exit(1);
    }
}

inline sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
        std::exit(1);
    }
    return statement;
}

inline void Step(sqlite3* db, sqlite3_stmt* statement)
{
    if (sqlite3_step(statement) != SQLITE_DONE) {
        std::fprintf(stderr, "insert: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_reset(statement);
}

inline void BindText(sqlite3_stmt* statement, int at, const std::string& text)
{
    sqlite3_bind_text(statement, at, text.c_str(), int(text.size()), SQLITE_TRANSIENT);
}

inline std::string IsoDate(std::mt19937& random, int firstYear, int years)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", firstYear + int(random() % years),
                  1 + int(random() % 12), 1 + int(random() % 28));
    return text;
}

// Lookups of an office of some size and assets with every column filled as people fill
// them: mixed-case names, cents in the money, some assets never sold or never serviced. With
// commentBytes, every asset carries a comment of that many bytes instead.
inline void FillDatabase(sqlite3* db, int assets, int commentBytes = 0)
{
    static const char* const firstNames[] = {"John",  "Mary",   "Ana",   "Oliver", "Zoë",
                                             "Peter", "Amelia", "Lucas", "Émile",  "grace"};
    static const char* const lastNames[] = {"Smith",    "O'Neil", "Müller", "García",
                                            "van Dijk", "Nguyen", "Brown",  "de la Cruz",
                                            "Kowalski", "Lee"};
    static const char* const things[] = {"Laptop",  "Desk",    "Printer", "Forklift",
                                         "Monitor", "Chair",   "Router",  "Projector",
                                         "Van",     "Scanner", "Phone",   "Server rack"};
    static const char* const makers[] = {"Dell", "HP", "Steelcase", "Toyota", "Cisco", "Epson"};
    std::mt19937 random(7);
    Exec(db, "begin");
    sqlite3_stmt* employee =
        Prepare(db, "insert into Employees (FirstName, LastName, Title) values (?, ?, 'Staff')");
    for (int i = 0; i < 200; ++i) {
        BindText(employee, 1, firstNames[i % 10]);
        BindText(employee, 2, std::string(lastNames[(i / 10) % 10]) + std::to_string(i / 100));
        Step(db, employee);
    }
    sqlite3_finalize(employee);
    sqlite3_stmt* vendor = Prepare(db, "insert into Vendors (VendorName) values (?)");
    for (int i = 0; i < 50; ++i) {
        BindText(vendor, 1, std::string(makers[i % 6]) + " Supply " + std::to_string(i));
        Step(db, vendor);
    }
    sqlite3_finalize(vendor);
    for (const char* sql :
         {"insert into [Asset Categories] (AssetCategory) values ('Computers'), ('Furniture'), "
          "('Vehicles'), ('Office equipment'), ('Machinery'), ('networking')",
          "insert into Status (Status) values ('In Use'), ('In Storage'), ('Sold'), "
          "('Under repair'), ('lost')",
          "insert into Departments (DepartmentName) values ('Accounts'), ('Sales'), "
          "('Warehouse'), ('IT'), ('Human Resources'), ('Front desk'), ('Legal')"})
        Exec(db, sql);

    sqlite3_stmt* asset = Prepare(
        db, "insert into Assets (AssetDescription, EmployeeID, AssetCategoryID, StatusID, "
            "DepartmentID, VendorID, ModelNumber, SerialNumber, BarcodeNumber, DateAcquired, "
            "DateSold, PurchasePrice, DepreciationMethod, DepreciableLife, SalvageValue, "
            "CurrentValue, Comments, NextSchedMaint) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 0; i < assets; ++i) {
        const int thing = int(random() % 12);
        BindText(asset, 1,
                 std::string(things[thing]) + " for " + lastNames[random() % 10] + " room " +
                     std::to_string(random() % 400));
        sqlite3_bind_int(asset, 2, 1 + int(random() % 200));
        sqlite3_bind_int(asset, 3, 1 + int(random() % 6));
        sqlite3_bind_int(asset, 4, 1 + int(random() % 5));
        sqlite3_bind_int(asset, 5, 1 + int(random() % 7));
        sqlite3_bind_int(asset, 6, 1 + int(random() % 50));
        BindText(asset, 7,
                 std::string(makers[random() % 6]) + "-" + std::to_string(random() % 9000));
        BindText(asset, 8, "SN" + std::to_string(100000000 + random() % 900000000));
        BindText(asset, 9, std::to_string(400000000000ULL + random()));
        BindText(asset, 10, IsoDate(random, 2005, 20));
        if (random() % 4 == 0)
            BindText(asset, 11, IsoDate(random, 2020, 6));
        else
            sqlite3_bind_null(asset, 11);
        const double price = double(random() % 2500000) / 100.0;
        sqlite3_bind_double(asset, 12, price);
        BindText(asset, 13, random() % 2 ? "Straight line" : "Declining balance");
        sqlite3_bind_double(asset, 14, double(3 + random() % 10));
        sqlite3_bind_double(asset, 15, double(int(price * 10)) / 100.0);
        sqlite3_bind_double(asset, 16, double(int(price * 60)) / 100.0);
        if (commentBytes > 0) {
            std::string comment = "Note " + std::to_string(i) + ":";
            while (int(comment.size()) < commentBytes)
                comment += std::string(" ") + things[random() % 12] + " checked by " +
                           lastNames[random() % 10];
            comment.resize(size_t(commentBytes));
            BindText(asset, 17, comment);
        } else if (random() % 3 == 0)
            BindText(asset, 17,
                     "Checked on arrival; keep the receipt in folder " +
                         std::to_string(random() % 100));
        else
            sqlite3_bind_null(asset, 17);
        if (random() % 2 == 0)
            BindText(asset, 18, IsoDate(random, 2026, 3));
        else
            sqlite3_bind_null(asset, 18);
        Step(db, asset);
    }
    sqlite3_finalize(asset);
    Exec(db, "commit");
}

// Where the floors leave what they touched, so that their reads are not left out as unused.
inline volatile unsigned g_touched;

// The floor: stepping a query (the asset list's by default) and touching the text of every
// column of every row, without an allocation of our own: the work that no program showing the
// rows can skip. Gives the number of cells.
inline size_t TouchRows(sqlite3* db, const char* sql = "select * from qryAssets")
{
    size_t cells = 0;
    unsigned touched = 0;
    sqlite3_stmt* statement = Prepare(db, sql);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(statement);
        for (int c = 0; c < columns; ++c) {
            const unsigned char* text = sqlite3_column_text(statement, c);
            const int length = sqlite3_column_bytes(statement, c);
            touched += length > 0 ? text[length - 1] : 0;
        }
        cells += size_t(columns);
    }
    sqlite3_finalize(statement);
    g_touched = touched;
    return cells;
}

// The best of a few runs, in seconds.
inline double Best(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

inline double ResidentMegabytes()
{
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

inline void Print(const char* what, double seconds, double floor)
{
    std::printf("%-36s %9.1f ms  %7.2fx floor\n", what, seconds * 1000, seconds / floor);
}
