// How long the main window takes to fill its asset list from a large database and to sort
// it by a clicked column, against stepping the same joined rows in SQLite and touching their
// texts; and how long a keystroke in the find field takes, against one search through the
// lower-cased text of every cell.
//
//     bench_mainwindow [assets]        100 000 assets unless told
#include "BenchSupport.h"
#include "data/Globals.h"
#include "mainwindow/FindField.h"
#include "mainwindow/Form1.h"
#include "mainwindow/MainMenu.h"
#include "platform/ui/ListView.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    const int kAssets = argc > 1 ? std::atoi(argv[1]) : 100000;
    QApplication app(argc, argv);
    TestEnvironment env;
    Form1 form;
    form.Form_Load();
    form.show();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, kAssets);

    size_t cellCount = 0;
    const double floor = Best(3, [&] { cellCount = TouchRows(db); });
    std::printf("%d assets, %zu cells; floor (stepping, touching every text) %.1f ms\n", kAssets,
                cellCount, floor * 1000);

    ListView& list = *form.ListView1;
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    constexpr int kFills = 3;
    const double fill = Best(kFills, [&] { form.ListData(); });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    if (list.ItemCount() != kAssets)
        std::printf("the list shows %d rows, not %d\n", list.ItemCount(), kAssets);
    Print("fill (ListData)", fill, floor);
    // The fill reads its next rows on a second core while it builds the list from the last.
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    Print("  processor time a fill (both threads)",
          (seconds(usage.ru_utime) + seconds(usage.ru_stime) - seconds(before.ru_utime) -
           seconds(before.ru_stime)) /
              kFills,
          floor);
    std::printf("%-36s %9.1f MB (%.1f MB before filling, %.1f MB resident now)\n",
                "peak RSS after filling", usage.ru_maxrss / 1024.0, before.ru_maxrss / 1024.0,
                ResidentMegabytes());

    struct Column
    {
        const char* what;
        int column;
    };
    for (const Column& c :
         {Column{"sort text (Employee)", 1}, Column{"sort text (Description)", 7},
          Column{"sort number (ID)", 0}, Column{"sort money (Purchase Price)", 13},
          Column{"sort date (Date Acquired)", 8}}) {
        // Each click on a new column sorts ascending; the second click reverses it.
        const double ascending = Best(1, [&] { form.ListView1_ColumnClick(c.column); });
        const double descending = Best(1, [&] { form.ListView1_ColumnClick(c.column); });
        Print(c.what, std::max(ascending, descending), floor);
    }
    // A rebuild of a sorted list, as after every edit.
    const double sortedFill = Best(2, [&] { form.ListData(); });
    Print("fill while sorted by date", sortedFill, floor);
    QCoreApplication::processEvents();

    // Find as you type: each keystroke filters the list and the view shows the result.
    const QAbstractItemModel& model = *list.model();
    std::string texts;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            texts += model.index(row, column).data().toString().toLower().toStdString() + '\x1f';
    size_t hits = 0;
    const double pass = Best(3, [&] {
        for (size_t at = texts.find("dell"); at != std::string::npos;
             at = texts.find("dell", at + 1))
            ++hits;
    });
    std::printf("\nfind floor (one search through the lower-cased text of the list's %d cells, "
                "%zu bytes) %.1f ms\n",
                model.rowCount() * model.columnCount(), texts.size(), pass * 1000);
    QLineEdit& field = *form.Menu->Find->Edit();
    double first = 0, slowest = 0;
    const QString typed = "dell 5440";
    for (qsizetype n = 0; n < typed.size(); ++n) {
        const double keystroke = Best(1, [&] {
            QTest::keyClick(&field, typed[n].toLatin1());
            QCoreApplication::processEvents();
        });
        (n == 0 ? first : slowest) = std::max(n == 0 ? first : slowest, keystroke);
    }
    std::printf("\"%s\" shows %d of %d rows\n", qPrintable(typed), list.ItemCount(),
                list.TotalCount());
    Print("first keystroke (folds every row)", first, pass);
    Print("slowest later keystroke", slowest, pass);
    const double clear = Best(1, [&] {
        QTest::keyClick(&field, Qt::Key_Escape);
        QCoreApplication::processEvents();
    });
    Print("Escape (every row again)", clear, pass);
    return 0;
}
