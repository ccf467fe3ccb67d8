#include "mainwindow/CommandsFixture.h"
#include "platform/report/ReportFixture.h"
#include "platform/report/ReportPreview.h"

#include <QApplication>

// The report command over the real main window: what its pages print, read back from the
// preview's own PDF export.
class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void samplePagesPrintEveryFieldOfEveryAsset();
    void eachClickReadsTheDataAgain();
    void aClosedConnectionIsReportedStepByStep();
};

namespace {

// Presses Create/Print Report and gives the text of the preview's PDF export.
QString ReportText(Form1& form, const QString& path)
{
    QFile::remove(path);
    ModalRecorder previews([&](QWidget& window) {
        auto* preview = qobject_cast<ReportPreview*>(&window);
        QVERIFY(preview);
        QVERIFY(preview->ExportPdf(path));
    });
    Click(form, "PushButton7");
    if (previews.shown != 1)
        return QString();
    return PdfText(path);
}

} // namespace

void TestReport::samplePagesPrintEveryFieldOfEveryAsset()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    Click(*form, "PushButton4");
    const QString hostile =
        QString::fromUtf8("O'Neil <b>bold</b> \"; drop table Assets; -- שלום 🙂");
    RawSql("update Assets set AssetDescription='" + QString(hostile).replace("'", "''") +
           "', DateSold=null, SalvageValue=null where AssetID=3");
    const QString text = ReportText(*form, env.root() + "/assets.pdf");
    for (const char* field :
         {"Ink Printer", "Personal Computer", "IPT11", "DPC628", "W3C124", "XEC349834", "0786543",
          "00754355", "Carter, Daniel", "Wilson, John", "Simmons Supplies", "Cancelled",
          "In process", "Sales", "07.12.2026", "Comments here", "300,00р.", "520,00р."})
        QVERIFY2(text.contains(QString::fromUtf8(field)), field);
    // Markup and statement text print as typed; the emoji needs a font the page may lack.
    const QString typed = "O'Neil <b>bold</b> \"; drop table Assets; --";
    QVERIFY2(text.contains(typed) && text.contains(QString::fromUtf8("שלום")), qPrintable(text));
    QVERIFY(InOrder(text, {"Ink Printer", "Personal Computer", typed}));
    QCOMPARE(QueryCount("select count(*) from Assets"), 3);
}

void TestReport::eachClickReadsTheDataAgain()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    Click(*form, "PushButton4");
    QVERIFY(ReportText(*form, env.root() + "/first.pdf").contains("Ink Printer"));
    RawSql("update Assets set AssetDescription='Colour Printer' where AssetID=1");
    const QString second = ReportText(*form, env.root() + "/second.pdf");
    QVERIFY(second.contains("Colour Printer"));
    QVERIFY(!second.contains("Ink Printer"));
}

void TestReport::aClosedConnectionIsReportedStepByStep()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    g_Conn->Close();
    for (int n = 0; n < 6; ++n)
        env.boxes.ExpectMessage(BoxAnswer::OK);
    ModalRecorder previews;
    Click(*form, "PushButton7");
    QCOMPARE(previews.shown, 0);
    QStringList steps;
    for (const auto& box : env.boxes.shown())
        steps << box.request.prompt.section("at line ", 1).section('\r', 0, 0);
    QVERIFY2(steps.startsWith("102"), qPrintable(steps.join(",")));
    QVERIFY(!env.boxes.prompts().first().isEmpty());
    qInfo("reported steps: %s", qPrintable(steps.join(", ")));
}

QTEST_MAIN(TestReport)
#include "test_report.moc"
