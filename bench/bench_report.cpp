// How long the asset report takes to lay out 10 000 assets into pages and to export them as
// PDF, against reading the same rows straight from SQLite.
#include "BenchSupport.h"
#include "data/Globals.h"
#include "mainwindow/rptMain.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    constexpr int kAssets = 10000;
    QApplication app(argc, argv);
    TestEnvironment env;
    env.OpenDatabase();
    sqlite3* db = g_Conn->Handle();
    FillDatabase(db, kAssets);
    const double floor = Best(3, [&] { ReadRowsStraight(db); });
    std::printf("%d assets; floor (sqlite3_step into strings) %.1f ms\n", kAssets, floor * 1000);

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
