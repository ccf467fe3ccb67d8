#include "platform/report/ReportFixture.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/report/DataFormat.h"
#include "platform/report/DataReport.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/TextGlyphs.h"

#include <QDate>
#include <QImage>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextLayout>
#include <limits>

// The text box forms, paging of a banded report over the rows of a real database, and its
// pages exported.
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void textBoxFormsUnderBothLocales();
    void pagesBandsAndTheirPlaces();
    void valuesArePrintedOnOneLineAndNullsEmpty();
    void badBindingsAreRunTimeErrors();
    void exportedPagesHoldTheirRecordsInOrder();
    void aValueWiderThanItsBoxEndsInAnEllipsisInsideIt();
    void textsAreDrawnWithTheGlyphsOfFullShaping();
};

namespace {

const DataFormat kMoney{DataFormat::Type::Money, QString::fromUtf8("#\u00A0##0,00\"р.\"")};
const DataFormat kDate{DataFormat::Type::Date, "dd.MM.yyyy"};
const DataFormat kGeneral{};

Variant Money(std::int64_t tenThousandths)
{
    return Variant::FromCurrency(Currency::FromTenThousandths(tenThousandths));
}

Variant Day(int year, int month, int day, QTime time = {})
{
    return Variant::FromDate(QDateTime(QDate(year, month, day), time), time.isValid());
}

QString Rub(const char* digits)
{
    return QString::fromUtf8(digits).replace(' ', QChar(0x00A0)) + QString::fromUtf8("р.");
}

// A text box bound to `field`, or a label when there is none.
ReportControl Control(const QString& name, const QString& caption, const QString& field = {},
                      int left = 0, int top = 0, const DataFormat& format = {})
{
    return ReportControl(field.isEmpty() ? ReportControl::Kind::Label
                                         : ReportControl::Kind::TextBox,
                         name, left, top, 2000, 240, caption, field, format, ReportFont());
}

// Room on the first page: 14200 - 2240 = 11960 twips, 11 details of 1000; on the others
// 14200 - 1940 = 12260, 12 details.
constexpr int kDetailHeight = 1000;
constexpr int kFooterTop = 15840 - 1440 - 200;

ReportDesign ListDesign()
{
    ReportDesign design;
    design.caption = "Asset list";
    design.reportHeader = {"Header", 300, {Control("Title", "All assets")}};
    design.pageHeader = {"PageHeader", 500, {Control("PageNo", "Page %p of %P", {}, 100, 50)}};
    design.detail = {"Detail",
                     kDetailHeight,
                     {Control("Desc", {}, "AssetDescription"),
                      Control("Price", {}, "PurchasePrice", 2000, 0, kMoney),
                      Control("Acquired", {}, "DateAcquired", 4000, 500, kDate)}};
    design.pageFooter = {"PageFooter", 200, {Control("Foot", "footer")}};
    design.reportFooter = {"ReportFooter", 400, {Control("End", "End of list")}};
    return design;
}

// The design laid out over the test database's assets.
struct Laid
{
    explicit Laid(const ReportDesign& d = ListDesign()) : design(d) { env.OpenDatabase(); }
    const ReportLayout& Layout()
    {
        rs.Open("select AssetDescription, PurchasePrice, DateAcquired from Assets order by AssetID",
                *g_Conn);
        layout = std::make_unique<ReportLayout>(design, rs);
        return *layout;
    }
    TestEnvironment env;
    ReportDesign design;
    Recordset rs;
    std::unique_ptr<ReportLayout> layout;
};

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

} // namespace

// Money and dates keep their own separators under any program locale; general is the
// value's text form under the program's locale.
void TestLayout::textBoxFormsUnderBothLocales()
{
    const struct
    {
        const char* locales; // where the row applies: "" under both
        Variant value;
        DataFormat format;
        QString shown;
    } cases[] = {
        {"", Money(12345000), kMoney, Rub("1 234,50")},
        {"", Money(0), kMoney, Rub("0,00")},
        {"", Money(-12345678910), kMoney, Rub("-1 234 567,89")},
        {"", Money(9999999), kMoney, Rub("1 000,00")},
        // Halves round away from zero; what rounds to nothing carries no sign.
        {"", Money(50), kMoney, Rub("0,01")},
        {"", Money(-50), kMoney, Rub("-0,01")},
        {"", Money(-40), kMoney, Rub("0,00")},
        {"", Variant::FromLong(999), kMoney, Rub("999,00")},
        {"", Variant::FromDouble(1234567.125), kMoney, Rub("1 234 567,13")},
        {"", Money(std::numeric_limits<std::int64_t>::min()), kMoney,
         Rub("-922 337 203 685 477,58")},
        // Numeric text is read under the program's locale; other text shows as it is.
        {"en_US", Variant::FromString("1234.5"), kMoney, Rub("1 234,50")},
        {"de_DE", Variant::FromString("1234,5"), kMoney, Rub("1 234,50")},
        {"en_US", Variant::FromString("12 Euro"), kMoney, "12 Euro"},
        {"", Day(2026, 12, 5), kDate, "05.12.2026"},
        {"", Day(2021, 3, 1, QTime(14, 30)), kDate, "01.03.2021"},
        {"", Variant::FromString("not a date"), kDate, "not a date"},
        {"en_US", Variant::FromString("3/15/2021"), kDate, "15.03.2021"},
        {"en_US", Money(12345000), kGeneral, "1234.5"},
        {"de_DE", Money(12345000), kGeneral, "1234,5"},
        {"en_US", Day(2026, 12, 5), kGeneral, "12/5/2026"},
        // A date form does not apply to a number: it shows in its general form.
        {"de_DE", Variant::FromLong(42), kDate, "42"},
        // Missing values show nothing.
        {"", Variant::Null(), kMoney, ""},
        {"", Variant(), kMoney, ""},
        {"", Variant::Null(), kDate, ""},
        {"", Variant(), kDate, ""},
        {"", Variant::Null(), kGeneral, ""},
        {"", Variant(), kGeneral, ""},
    };
    for (const char* locale : {"en_US", "de_DE"}) {
        TestEnvironment env(locale);
        for (const auto& k : cases) {
            if (!QString(k.locales).isEmpty() && k.locales != QString(locale))
                continue;
            QCOMPARE(FormatValue(k.value, k.format), k.shown);
        }
    }
}

void TestLayout::pagesBandsAndTheirPlaces()
{
    const struct
    {
        int assets, pages;
        QList<int> firstOnPage; // the first asset of each page; past the last when none
        int endTop;             // the report footer's top, on the last page
    } cases[] = {
        {0, 1, {1}, 2240},
        {3, 1, {1}, 2240 + 3 * kDetailHeight},
        // The second page is full: 1940 + 12 * 1000 + 400 reaches past 14200.
        {23, 3, {1, 12, 24}, 1940},
        {24, 3, {1, 12, 24}, 1940 + kDetailHeight},
    };
    for (const auto& k : cases) {
        Laid laid;
        if (k.assets > 0)
            AddNumberedAssets(k.assets);
        const ReportLayout& layout = laid.Layout();
        QCOMPARE(layout.RecordCount(), k.assets);
        QCOMPARE(layout.PageCount(), k.pages);
        for (int index = 0; index < k.pages; ++index) {
            const ReportPage page = layout.Page(index);
            const int detailTop = index == 0 ? 2240 : 1940;
            const int first = k.firstOnPage[index];
            const int last = index + 1 < k.pages ? k.firstOnPage[index + 1] - 1 : k.assets;
            const auto pageNo = Placed(page, "PageNo");
            QCOMPARE(pageNo.size(), 1);
            QCOMPARE(pageNo[0].text, QString("Page %1 of %2").arg(index + 1).arg(k.pages));
            QCOMPARE(QPoint(pageNo[0].left, pageNo[0].top), QPoint(1540, detailTop - 450));
            QCOMPARE(Placed(page, "Title").size(), index == 0 ? 1 : 0);
            QCOMPARE(Placed(page, "Foot").value(0).top, kFooterTop);
            const auto end = Placed(page, "End");
            QCOMPARE(end.size(), index + 1 == k.pages ? 1 : 0);
            if (!end.isEmpty())
                QCOMPARE(end[0].top, k.endTop);

            const auto descriptions = Placed(page, "Desc");
            const auto acquired = Placed(page, "Acquired");
            QCOMPARE(descriptions.size(), last - first + 1);
            for (int i = 0; i < descriptions.size(); ++i) {
                QCOMPARE(descriptions[i].text, QString("Asset %1").arg(first + i));
                QCOMPARE(acquired[i].text,
                         QDate(2026, 1, 1).addDays(first + i).toString("dd.MM.yyyy"));
                const int top = detailTop + i * kDetailHeight;
                QCOMPARE(QPoint(descriptions[i].left, descriptions[i].top), QPoint(1440, top));
                QCOMPARE(QPoint(acquired[i].left, acquired[i].top), QPoint(5440, top + 500));
            }
        }
        const PlacedControl title = Placed(layout.Page(0), "Title").value(0);
        QCOMPARE(QPoint(title.left, title.top), QPoint(1440, 1440));
    }
}

void TestLayout::valuesArePrintedOnOneLineAndNullsEmpty()
{
    Laid laid;
    RunSql("insert into Assets (AssetDescription) values "
           "('line one' || char(13, 10) || 'line two' || char(9) || '<b>&amp;</b> \"q\" ''s')");
    const ReportPage page = laid.Layout().Page(0);
    QCOMPARE(Placed(page, "Desc").value(0).text,
             QString("line one  line two <b>&amp;</b> \"q\" 's"));
    QCOMPARE(Placed(page, "Price").value(0).text, QString());
    QCOMPARE(Placed(page, "Acquired").value(0).text, QString());
}

void TestLayout::badBindingsAreRunTimeErrors()
{
    ReportDesign design = ListDesign();
    design.detail.controls[1].dataField = "NoSuchColumn";
    Laid laid(design);
    try {
        laid.Layout();
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
    report.SetDataSource(&laid.rs);
    laid.rs.Close();
    QVERIFY_THROWS_EXCEPTION(RuntimeError, report.Layout());
}

// Four details of 3000 twips to a page, over pages enough for the file to be written in two
// halves at once and joined; a file that cannot be written, or whose halves cannot be, is
// refused and none is left behind.
void TestLayout::exportedPagesHoldTheirRecordsInOrder()
{
    ReportDesign design;
    design.caption = "Numbered assets";
    design.pageHeader = {"PageHeader", 300, {Control("Head", "Page %p of %P")}};
    design.detail = {"Detail", 3000, {Control("Desc", {}, "AssetDescription")}};
    Laid laid(design);
    AddNumberedAssets(401);
    const ReportLayout& layout = laid.Layout();
    const QString path = laid.env.root() + "/list.pdf";
    ExportPdf(layout, path);
    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), 101);
    for (int page = 0; page < pages.size(); ++page) {
        QStringList parts{QString("Page %1 of 101").arg(page + 1)};
        for (int asset = 4 * page + 1; asset <= std::min(401, 4 * page + 4); ++asset)
            parts.append(QString("Asset %1").arg(asset));
        QVERIFY2(InOrder(pages[page], parts), qPrintable(parts.front()));
    }
    QVERIFY(!pages[0].contains("Asset 5"));
    QProcess info;
    info.start("pdfinfo", {path});
    QVERIFY(info.waitForFinished(60000));
    QVERIFY(InOrder(QString::fromUtf8(info.readAllStandardOutput()).simplified(),
                    {"Title: Numbered assets", "Creator: Tarnwick", "Page size: 612 x 792"}));

    QVERIFY_THROWS_EXCEPTION(RuntimeError, ExportPdf(layout, laid.env.root() + "/no/such/x.pdf"));
    // Temporary files cannot be made in a folder that is a file.
    const QString notAFolder = laid.env.root() + "/file";
    QVERIFY(QFile(notAFolder).open(QIODevice::WriteOnly));
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(notAFolder));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, ExportPdf(layout, path));
    qputenv("TMPDIR", tmp); // an empty one is the system's
    QVERIFY(!QFile::exists(path));
}

// Two boxes side by side, each too narrow for the first asset's description: each ends in "…"
// inside its box, so that the text of the page reads and copies field by field; a value that
// fits prints whole; so does one of many thousand characters, of which the report keeps only
// what a box could show.
void TestLayout::aValueWiderThanItsBoxEndsInAnEllipsisInsideIt()
{
    ReportDesign design;
    ReportControl left = Control("Left", {}, "AssetDescription");
    ReportControl right = Control("Right", {}, "AssetDescription", 1134);
    left.width = right.width = 1134;
    design.detail = {"Detail", 300, {left, right}};
    Laid laid(design);
    RunSql("insert into Assets (AssetDescription) values ('Northwind Office IT Supply'), ('Pump'), "
           "('Long " +
           QString(10000, 'x') + "')");
    const QString path = laid.env.root() + "/cut.pdf";
    ExportPdf(laid.Layout(), path);
    const QStringList lines = PdfText(path).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4); // the three records and the page's end
    for (const auto& [line, start] : {std::pair{0, "Northwind \\S*"}, std::pair{2, "Long x+"}}) {
        QVERIFY2(QRegularExpression(QString::fromUtf8("^%1… +%1…$").arg(start))
                     .match(lines[line].trimmed())
                     .hasMatch(),
                 qPrintable(lines[line]));
    }
    QCOMPARE(lines[1].simplified(), QString("Pump Pump"));
}

// Texts in plain letters are placed without the toolkit's full shaping: on the screen and in a
// PDF they get the same glyphs, fonts and places as full shaping gives them, kerned pairs and
// letters the report's font lacks included; other scripts and marks are shaped in full.
void TestLayout::textsAreDrawnWithTheGlyphsOfFullShaping()
{
    TestEnvironment env;
    QImage screen(10, 10, QImage::Format_RGB32);
    QPdfWriter pdf(env.root() + "/unused.pdf");
    const QStringList texts = {
        "Northwind Office IT Supply",
        "AVAWAYTo Wa Ty LT",
        "fi fl ffi 0.5 -3",
        "Tab\there",
        QString::fromUtf8("Müller & Søn, 1\u00A0234,56р. № 7 – «ok» …"),
        QString::fromUtf8("Фёдор Ωμέγα Ђурђевац"),
        QString::fromUtf8("snow \u2603"),
        QString::fromUtf8("\u4E1C\u4EAC \u0627\u0644\u0633\u0644\u0627\u0645"),
        QString::fromUtf8("e\u0301te\u0301 a\u200Db")};
    for (QPaintDevice* device : std::initializer_list<QPaintDevice*>{&screen, &pdf}) {
        for (const bool bold : {false, true}) {
            ReportControl control = Control("Box", {});
            control.font.bold = bold;
            TextGlyphs glyphs(*device);
            QFont font(control.font.family);
            font.setPointSizeF(control.font.pointSize);
            font.setBold(bold);
            for (const QString& text : texts) {
                QTextLayout layout(text, QFont(font, device));
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                const QList<QGlyphRun> expected = layout.glyphRuns();
                const QList<QGlyphRun> drawn = glyphs.Line(control, text, 1e9);
                QCOMPARE(drawn.size(), expected.size());
                for (qsizetype run = 0; run < drawn.size(); ++run) {
                    QCOMPARE(drawn[run].rawFont().familyName(),
                             expected[run].rawFont().familyName());
                    QCOMPARE(drawn[run].glyphIndexes(), expected[run].glyphIndexes());
                    const QList<QPointF> at = drawn[run].positions();
                    for (qsizetype i = 0; i < at.size(); ++i) {
                        const QPointF miss = at[i] - expected[run].positions()[i];
                        QVERIFY2(miss.manhattanLength() < 0.01, qPrintable(text));
                    }
                }
            }
        }
    }
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
