// The list's rows on their own, without the database: filling 100 000 rows, sorting them
// by a text and by a value column, and the reads a view makes while scrolled through, each
// against std::sort of the same texts.
#include "platform/ui/ListViewModel.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 19;
constexpr int kVisibleRows = 40;

struct Row
{
    std::vector<std::string> texts;
    double id, price, acquired;
};

std::vector<Row> MakeRows()
{
    static const char* const names[] = {"Smith, John",     "müller, Zoë",  "García, Ana",
                                        "van Dijk, Peter", "O'Neil, Mary", "Lee, grace"};
    static const char* const things[] = {"Laptop", "desk", "Printer", "Forklift", "Éclair oven"};
    std::mt19937 random(11);
    std::vector<Row> rows(kRows);
    for (int r = 0; r < kRows; ++r) {
        Row& row = rows[r];
        row.id = r + 1;
        row.price = double(random() % 2500000) / 100.0;
        const int year = 2005 + int(random() % 20), month = 1 + int(random() % 12),
                  day = 1 + int(random() % 28);
        row.acquired = year * 400.0 + month * 31 + day;
        row.texts.resize(kColumns);
        row.texts[0] = std::to_string(r + 1);
        row.texts[1] = names[random() % 6] + std::to_string(random() % 40);
        row.texts[7] =
            std::string(things[random() % 5]) + " room " + std::to_string(random() % 400);
        row.texts[8] =
            std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
        char price[32];
        std::snprintf(price, sizeof price, "%g", row.price);
        row.texts[13] = price;
        for (int c : {2, 3, 4, 5, 10, 11, 12, 15, 18})
            row.texts[c] = "text " + std::to_string(random() % 100000);
    }
    return rows;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Print(const char* what, double seconds, double floor)
{
    std::printf("%-34s %9.1f ms  %7.2fx floor\n", what, seconds * 1000, seconds / floor);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale("en_US"));
    const std::vector<Row> rows = MakeRows();

    double floor = 1e300;
    for (int run = 0; run < 3; ++run) {
        std::vector<std::string> texts;
        texts.reserve(kRows);
        for (const Row& row : rows)
            texts.push_back(row.texts[7]);
        floor = std::min(floor, Seconds([&] { std::sort(texts.begin(), texts.end()); }));
    }
    std::printf("%d rows; floor (std::sort of one column's strings) %.1f ms\n", kRows,
                floor * 1000);

    ListViewModel model;
    for (int c = 0; c < kColumns; ++c)
        model.AddColumn(QString("Column %1").arg(c));
    for (int c : {0, 8, 13})
        model.SetColumnSortKind(c, ListViewModel::SortKind::Value);

    const double fill = Seconds([&] {
        model.BeginUpdate();
        model.Clear();
        for (const Row& row : rows) {
            const int r = model.AddRow(QString::fromStdString(row.texts[0]));
            for (int c = 1; c < kColumns; ++c)
                if (!row.texts[c].empty())
                    model.SetCell(r, c, QString::fromStdString(row.texts[c]));
            model.SetSortValue(r, 0, row.id);
            model.SetSortValue(r, 8, row.acquired);
            model.SetSortValue(r, 13, row.price);
        }
        model.EndUpdate();
    });
    Print("fill", fill, floor);

    struct Column
    {
        const char* what;
        int column;
    };
    for (const Column& c :
         {Column{"sort text (names)", 1}, Column{"sort text (descriptions)", 7},
          Column{"sort number (id)", 0}, Column{"sort money", 13}, Column{"sort date", 8}}) {
        double slowest = 0;
        // As a header click does it: sorting off, key and order set, then one sort.
        for (int order : {0, 1})
            slowest = std::max(slowest, Seconds([&] {
                                   model.SetSorted(false);
                                   model.SetSortOrder(order);
                                   model.SetSortKey(c.column);
                                   model.SetSorted(true);
                               }));
        Print(c.what, slowest, floor);
    }

    // What the view reads while the list is paged through from top to bottom.
    qsizetype characters = 0;
    const double scroll = Seconds([&] {
        for (int top = 0; top < kRows; top += kVisibleRows)
            for (int r = top; r < std::min(top + kVisibleRows, kRows); ++r)
                for (int c = 0; c < kColumns; ++c)
                    characters += model.data(model.index(r, c), Qt::DisplayRole).toString().size();
    });
    Print("scroll through every page", scroll, floor);
    std::printf("(%lld characters read)\n", static_cast<long long>(characters));
    return 0;
}
