// How long the asset report takes to lay out 10 000 assets into pages and to export them as
// PDF, against stepping the same rows in SQLite and touching their texts; and, with --large,
// the time and the peak memory of opening the report over 100 000 assets with 10 kB of
// comments each.
// Another number of assets can be given, for a profiler's shorter run.
// Usage: bench_report [assets | --large]
#include "BenchSupport.h"
#include "data/Globals.h"
#include "mainwindow/rptMain.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPreview.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// The most this process has held in memory since the last ResetPeak, from the kernel's count.
double PeakMegabytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void ResetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        std::fprintf(stderr, "the peak memory could not be reset: it counts from the start\n");
}

double Seconds(const std::chrono::steady_clock::time_point& since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// What a click on Create/Print Report does until the preview shows its first page: the
// recordset, the layout and the preview window.
void OpenLargeReport()
{
    constexpr int kAssets = 100000;
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, kAssets);
    Exec(db, "update Assets set Comments = hex(randomblob(5000))");
    std::printf("%d assets with 10 kB of comments each: %.0f MB of database\n", kAssets,
                double(QFileInfo(env.workingDatabase()).size()) / (1024.0 * 1024.0));

    ResetPeak();
    const double before = ResidentMegabytes();
    const auto start = std::chrono::steady_clock::now();
    Recordset rs;
    rs.Open("select * from qryAssets", *g_Conn, 3, 1);
    const double opened = Seconds(start);
    const double recordsetMemory = ResidentMegabytes() - before;
    rptMain report;
    report.SetDataSource(&rs);
    std::unique_ptr<ReportLayout> layout = report.Layout();
    const double laidOut = Seconds(start);
    const int pages = layout->PageCount();
    ReportPreview preview(std::move(layout));
    const double shown = Seconds(start);
    std::printf("recordset opened %29.2f s  %7.0f MB held\n", opened, recordsetMemory);
    std::printf("laid out into %d pages %19.2f s\n", pages, laidOut);
    std::printf("first page shown %30.2f s  %7.0f MB peak above the %.0f MB before\n", shown,
                PeakMegabytes() - before, before);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--large") {
        OpenLargeReport();
        return 0;
    }
    const int assets = argc > 1 ? std::atoi(argv[1]) : 10000;
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, assets);
    const double floor = Best(3, [&] { TouchRows(db); });
    std::printf("%d assets; floor (stepping, touching every text) %.1f ms\n", assets, floor * 1000);

    Recordset rs;
    rs.Open("select * from qryAssets", *g_Conn, 3, 1);
    rptMain report;
    report.SetDataSource(&rs);
    std::unique_ptr<ReportLayout> layout;
    Print("layout into pages", Best(3, [&] { layout = report.Layout(); }), floor);
    const QString path = env.root() + "/assets.pdf";
    Print("export to PDF", Best(1, [&] { ExportPdf(*layout, path); }), floor);
    std::printf("%d pages, %.1f MB of PDF\n", layout->PageCount(),
                double(QFileInfo(path).size()) / (1024.0 * 1024.0));
    return 0;
}
