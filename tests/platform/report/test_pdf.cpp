#include "platform/report/ReportFixture.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"

// Exported reports read back: every page, its texts in order.
class TestPdf : public QObject
{
    Q_OBJECT

private slots:
    void exportedPagesHoldTheirRecordsInOrder();
    void unwritableFileIsARunTimeError();
};

namespace {

ReportDesign OneLineDesign()
{
    ReportControl header;
    header.name = "Head";
    header.caption = "Page %p of %P";
    header.width = 3000;
    header.height = 240;
    ReportControl box = header;
    box.kind = ReportControl::Kind::TextBox;
    box.name = "Desc";
    box.dataField = "AssetDescription";
    ReportDesign design;
    design.pageHeader = {"PageHeader", 300, {header}};
    design.detail = {"Detail", 3000, {box}};
    return design;
}

} // namespace

void TestPdf::exportedPagesHoldTheirRecordsInOrder()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddNumberedAssets(9);
    const ReportDesign design = OneLineDesign();
    Recordset rs;
    rs.Open("select AssetDescription from Assets order by AssetID", *g_Conn);
    const ReportLayout layout(design, rs);
    const QString path = env.root() + "/list.pdf";
    ExportPdf(layout, path);

    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), layout.PageCount());
    QCOMPARE(layout.PageCount(), 3);
    QVERIFY(InOrder(pages[0], {"Page 1 of 3", "Asset 1", "Asset 2", "Asset 3", "Asset 4"}));
    QVERIFY(!pages[0].contains("Asset 5"));
    QVERIFY(InOrder(pages[2], {"Page 3 of 3", "Asset 9"}));
}

void TestPdf::unwritableFileIsARunTimeError()
{
    TestEnvironment env;
    env.OpenDatabase();
    const ReportDesign design = OneLineDesign();
    Recordset rs;
    rs.Open("select AssetDescription from Assets", *g_Conn);
    const ReportLayout layout(design, rs);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, ExportPdf(layout, env.root() + "/no/such/x.pdf"));
}

QTEST_MAIN(TestPdf)
#include "test_pdf.moc"
