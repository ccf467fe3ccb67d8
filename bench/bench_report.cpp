// How long the asset report takes to open (read every asset and show its first page), to lay
// out its pages and to export them as PDF, against stepping the same rows in SQLite and
// touching their texts; and the most memory the program took.
//
//     bench_report                     10 000 assets
//     bench_report 100000 10000        100 000 assets with a comment of 10 000 bytes each
//                                      (opening only)
#include "BenchSupport.h"
#include "data/Globals.h"
#include "mainwindow/rptMain.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPreview.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFileInfo>
#include <sys/resource.h>

namespace {

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char* argv[])
{
    const int assets = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int commentBytes = argc > 2 ? std::atoi(argv[2]) : 0;
    QApplication app(argc, argv);
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, assets, commentBytes);
    const double floor = Best(commentBytes > 0 ? 1 : 3, [&] { TouchRows(db); });
    std::printf(
        "%d assets%s; floor (stepping, touching every text) %.1f ms\n", assets,
        commentBytes > 0 ? qPrintable(QString(" with comments of %1 bytes").arg(commentBytes)) : "",
        floor * 1000);
    const double before = PeakMegabytes();

    // As Create/Print Report opens it: a recordset, the report bound to it, the preview with
    // its first page.
    const double open = Best(1, [&] {
        Recordset rs;
        rs.Open("select * from qryAssets", *g_Conn, 3, 1);
        rptMain report;
        report.SetDataSource(&rs);
        ReportPreview preview(report.Layout());
    });
    Print("open (read, lay out, first page)", open, floor);
    std::printf("%-36s %9.1f MB (%.1f MB before)\n", "peak RSS", PeakMegabytes(), before);
    if (commentBytes > 0)
        return 0;

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
