#include "platform/report/ReportFixture.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/DataReport.h"
#include "platform/report/ReportLayout.h"

// Paging of a banded report over the rows of a real database.
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void bandsStandAtMarginPlusBandOffset();
    void longReportsRepeatThePageHeaderAndEndWithTheReportFooter();
    void reportFooterWithoutRoomGoesToAPageOfItsOwn();
    void emptySourceGivesOnePageWithHeaderAndFooter();
    void valuesArePrintedOnOneLineAndNullsEmpty();
    void badBindingsAreRunTimeErrors();
};

namespace {

ReportControl Label(const QString& name, const QString& caption, int left = 0, int top = 0)
{
    ReportControl label;
    label.name = name;
    label.caption = caption;
    label.left = left;
    label.top = top;
    label.width = 2000;
    label.height = 240;
    return label;
}

ReportControl Box(const QString& name, const QString& field, DataFormat format, int left, int top)
{
    ReportControl box;
    box.kind = ReportControl::Kind::TextBox;
    box.name = name;
    box.dataField = field;
    box.format = format;
    box.left = left;
    box.top = top;
    box.width = 2000;
    box.height = 240;
    return box;
}

// Room on the first page: 14200 - 2240 = 11960 twips, 11 details of 1000; on the others
// 14200 - 1940 = 12260, 12 details.
constexpr int kDetailHeight = 1000;
constexpr int kFooterTop = 15840 - 1440 - 200;

ReportDesign ListDesign()
{
    ReportDesign design;
    design.caption = "Asset list";
    design.reportHeader = {"Header", 300, {Label("Title", "All assets")}};
    design.pageHeader = {"PageHeader", 500, {Label("PageNo", "Page %p of %P", 100, 50)}};
    design.detail = {
        "Detail",
        kDetailHeight,
        {Box("Desc", "AssetDescription", {}, 0, 0),
         Box("Price", "PurchasePrice",
             {DataFormat::Type::Money, QString::fromUtf8("#\u00A0##0,00\"р.\"")}, 2000, 0),
         Box("Acquired", "DateAcquired", {DataFormat::Type::Date, "dd.MM.yyyy"}, 4000, 500)}};
    design.pageFooter = {"PageFooter", 200, {Label("Foot", "footer")}};
    design.reportFooter = {"ReportFooter", 400, {Label("End", "End of list")}};
    return design;
}

const char* kAssets =
    "select AssetDescription, PurchasePrice, DateAcquired from Assets order by AssetID";

// The placed controls of one design control on a page, top to bottom.
QList<PlacedControl> Placed(const ReportPage& page, const QString& name)
{
    QList<PlacedControl> found;
    for (const PlacedControl& placed : page.controls) {
        if (placed.control->name == name)
            found.append(placed);
    }
    return found;
}

QStringList Texts(const QList<PlacedControl>& placed)
{
    QStringList texts;
    for (const PlacedControl& p : placed)
        texts << p.text;
    return texts;
}

QStringList Numbered(int first, int last)
{
    QStringList texts;
    for (int n = first; n <= last; ++n)
        texts << QString("Asset %1").arg(n);
    return texts;
}

} // namespace

void TestLayout::bandsStandAtMarginPlusBandOffset()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddNumberedAssets(3);
    const ReportDesign design = ListDesign();
    Recordset rs;
    rs.Open(kAssets, *g_Conn);
    const ReportLayout layout(design, rs);

    QCOMPARE(layout.PageCount(), 1);
    const ReportPage page = layout.Page(0);
    QCOMPARE(page.number, 1);
    const PlacedControl title = Placed(page, "Title").value(0);
    QCOMPARE(QPoint(title.left, title.top), QPoint(1440, 1440));
    const PlacedControl pageNo = Placed(page, "PageNo").value(0);
    QCOMPARE(QPoint(pageNo.left, pageNo.top), QPoint(1540, 1790));
    QCOMPARE(pageNo.text, QString("Page 1 of 1"));

    const auto descriptions = Placed(page, "Desc");
    const auto acquired = Placed(page, "Acquired");
    QCOMPARE(Texts(descriptions), Numbered(1, 3));
    QCOMPARE(Texts(acquired), QStringList({"02.01.2026", "03.01.2026", "04.01.2026"}));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(QPoint(descriptions[i].left, descriptions[i].top),
                 QPoint(1440, 2240 + i * kDetailHeight));
        QCOMPARE(QPoint(acquired[i].left, acquired[i].top), QPoint(5440, 2740 + i * kDetailHeight));
    }
    QCOMPARE(Placed(page, "End").value(0).top, 2240 + 3 * kDetailHeight);
    QCOMPARE(Placed(page, "Foot").value(0).top, kFooterTop);
}

void TestLayout::longReportsRepeatThePageHeaderAndEndWithTheReportFooter()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddNumberedAssets(24);
    const ReportDesign design = ListDesign();
    Recordset rs;
    rs.Open(kAssets, *g_Conn);
    const ReportLayout layout(design, rs);

    QCOMPARE(layout.RecordCount(), 24);
    QCOMPARE(layout.PageCount(), 3);
    const QList<QStringList> expected = {Numbered(1, 11), Numbered(12, 23), Numbered(24, 24)};
    for (int index = 0; index < 3; ++index) {
        const ReportPage page = layout.Page(index);
        QCOMPARE(Texts(Placed(page, "PageNo")),
                 QStringList{QString("Page %1 of 3").arg(index + 1)});
        QCOMPARE(Placed(page, "Title").size(), index == 0 ? 1 : 0);
        QCOMPARE(Placed(page, "End").size(), index == 2 ? 1 : 0);
        QCOMPARE(Placed(page, "Foot").value(0).top, kFooterTop);
        const auto details = Placed(page, "Desc");
        QCOMPARE(Texts(details), expected[index]);
        // No detail reaches into the page footer.
        QVERIFY(details.last().top + kDetailHeight <= kFooterTop);
    }
    QCOMPARE(Placed(layout.Page(2), "End").value(0).top, 1940 + kDetailHeight);
}

void TestLayout::reportFooterWithoutRoomGoesToAPageOfItsOwn()
{
    TestEnvironment env;
    env.OpenDatabase();
    // The second page is full: 1940 + 12 * 1000 + 400 reaches past 14200.
    AddNumberedAssets(23);
    const ReportDesign design = ListDesign();
    Recordset rs;
    rs.Open(kAssets, *g_Conn);
    const ReportLayout layout(design, rs);

    QCOMPARE(layout.PageCount(), 3);
    QCOMPARE(Placed(layout.Page(1), "End").size(), 0);
    const ReportPage last = layout.Page(2);
    QCOMPARE(Placed(last, "Desc").size(), 0);
    QCOMPARE(Texts(Placed(last, "PageNo")), QStringList{"Page 3 of 3"});
    QCOMPARE(Placed(last, "End").value(0).top, 1940);
}

void TestLayout::emptySourceGivesOnePageWithHeaderAndFooter()
{
    TestEnvironment env;
    env.OpenDatabase();
    const ReportDesign design = ListDesign();
    Recordset rs;
    rs.Open(kAssets, *g_Conn);
    const ReportLayout layout(design, rs);

    QCOMPARE(layout.PageCount(), 1);
    const ReportPage page = layout.Page(0);
    QCOMPARE(Placed(page, "Desc").size(), 0);
    QCOMPARE(Texts(Placed(page, "PageNo")), QStringList{"Page 1 of 1"});
    QCOMPARE(Placed(page, "End").value(0).top, 2240);
    QCOMPARE(Placed(page, "Foot").size(), 1);
}

void TestLayout::valuesArePrintedOnOneLineAndNullsEmpty()
{
    TestEnvironment env;
    env.OpenDatabase();
    RunSql("insert into Assets (AssetDescription) values "
           "('line one' || char(13, 10) || 'line two' || char(9) || '<b>&amp;</b> \"q\" ''s')");
    const ReportDesign design = ListDesign();
    Recordset rs;
    rs.Open(kAssets, *g_Conn);
    const ReportLayout layout(design, rs);

    const ReportPage page = layout.Page(0);
    QCOMPARE(Placed(page, "Desc").value(0).text,
             QString("line one  line two <b>&amp;</b> \"q\" 's"));
    QCOMPARE(Placed(page, "Price").value(0).text, QString());
    QCOMPARE(Placed(page, "Acquired").value(0).text, QString());
}

void TestLayout::badBindingsAreRunTimeErrors()
{
    TestEnvironment env;
    env.OpenDatabase();
    ReportDesign design = ListDesign();
    design.detail.controls[1].dataField = "NoSuchColumn";
    Recordset rs;
    rs.Open(kAssets, *g_Conn);
    try {
        ReportLayout layout(design, rs);
        QFAIL("a missing column was accepted");
    } catch (const RuntimeError& error) {
        QVERIFY(error.Description().contains("NoSuchColumn"));
        QVERIFY(error.Description().contains("Price"));
    }

    DataReport report(ListDesign());
    Recordset closed;
    QVERIFY_THROWS_EXCEPTION(RuntimeError, report.SetDataSource(&closed));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, report.Layout());
    // A source closed after binding is refused when the report is laid out.
    report.SetDataSource(&rs);
    rs.Close();
    QVERIFY_THROWS_EXCEPTION(RuntimeError, report.Layout());
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
