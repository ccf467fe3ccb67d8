#include "mainwindow/CommandsFixture.h"

#include "editor/EditorFixture.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/report/ReportFixture.h"
#include "platform/report/ReportPreview.h"

namespace {

// Every row of the query, its fields joined by "|".
QStringList Rows(const QString& sql)
{
    Recordset rs;
    rs.Open(sql, *g_Conn);
    QStringList rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i)
            fields << TextOf(rs.Fields(i).Value);
        rows << fields.join('|');
    }
    return rows;
}

// The five lookup keys of the assets described so, in the order of `Keys`.
QStringList KeysOf(const QString& description)
{
    return Rows("select EmployeeID, AssetCategoryID, StatusID, DepartmentID, VendorID "
                "from Assets where AssetDescription='" +
                description + "'");
}

// The oldest (min) or newest (max) key of each lookup table.
QString Keys(const QString& aggregate)
{
    QStringList keys;
    for (const char* table : {"Employees.EmployeeID", "[Asset Categories].AssetCategoryID",
                              "Status.StatusID", "Departments.DepartmentID", "Vendors.VendorID"})
        keys << QueryText(QString("select %1(%2) from %3")
                              .arg(aggregate, table, QString(table).section('.', 0, 0)));
    return keys.join('|');
}

long long Count(const QString& table)
{
    return QueryCount("select count(*) from " + table);
}

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

class TestSample : public QObject
{
    Q_OBJECT

private slots:
    void emptyLookupTablesGetBothExampleRowsAndThreeAssetsThatTheReportPrints()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        Click(*form, "PushButton4");
        QCOMPARE(env.boxes.shown().size(), 0);
        QCOMPARE(Rows("select FirstName, LastName, EmailName, EmployeeNumber, Title "
                      "from Employees order by EmployeeID"),
                 QStringList({"John|Wilson|john.wilson@tarnwick.example|M234|Manager",
                              "Daniel|Carter|daniel.carter@tarnwick.example|M123|HR"}));
        QCOMPARE(Rows("select Status from Status order by StatusID").join('|'),
                 QString("In process|Cancelled"));
        QCOMPARE(Rows("select AssetCategory from [Asset Categories]").join('|'),
                 QString("New Category|Main Category"));
        QCOMPARE(Rows("select ContactFirstName, ContactLastName, VendorName, Title "
                      "from Vendors order by VendorID"),
                 QStringList({"Hanna|Simmons|Simmons Supplies|CEO",
                              "Neil|Burgess|WestEast Cost Cars|Senior manager"}));
        QCOMPARE(Rows("select DepartmentName from Departments").join('|'),
                 QString("Sales|Support"));

        const QString dates = "|12/7/2026|12/7/2026|";
        QCOMPARE(Rows("select AssetDescription, ModelNumber, SerialNumber, BarcodeNumber, "
                      "DateAcquired, DateSold, PurchasePrice, DepreciationMethod, "
                      "DepreciableLife, SalvageValue, CurrentValue, Comments, NextSchedMaint "
                      "from Assets order by AssetID"),
                 QStringList(
                     {"Ink Printer|IPT11|W3C124|0786543" + dates + "584|SL|5|30|520|Comments here|",
                      "Personal Computer|DPC628|XEC349834|00754355" + dates +
                          "1584|SL|5|300|1520|Comments here|",
                      "Laser Printer|LPT33|W3C2455|000434545" + dates +
                          "844|SL|5|120|645|Comments here|"}));
        QCOMPARE(Count("Assets where NextSchedMaint is null"), 3);
        QCOMPARE(KeysOf("Personal Computer").join('|'), Keys("min"));
        QCOMPARE(KeysOf("Ink Printer").join('|'), Keys("max"));
        QCOMPARE(KeysOf("Laser Printer").join('|'), Keys("max"));
        QCOMPARE(form->ListView1->ItemCount(), 3);

        // The report's pages, read back from the preview's own PDF export, print every field
        // of every asset formatted; a value wider than its box ends in "…" inside it.
        const QString hostile = "O'Neil <b>bold</b> \"; drop table Assets; --";
        RawSql("update Assets set AssetDescription='" + QString(hostile).replace("'", "''") +
               "', Comments='" + QString::fromUtf8("שלום 🙂") +
               "', DateSold=null, SalvageValue=null where AssetID=3");
        const QString text = ReportText(*form, env.root() + "/assets.pdf");
        for (const char* field :
             {"Ink Printer", "Personal Computer", "IPT11", "DPC628", "W3C124", "XEC349834",
              "0786543", "00754355", "Carter, Daniel", "Wilson, John", "Simmons S… ", "Cancelled",
              "In process", "Sales", "07.12.2026", "Comments here", "300,00р.", "520,00р."})
            QVERIFY2(text.contains(QString::fromUtf8(field)), field);
        // Markup and statement text print as typed, and right-to-left text; the emoji needs a
        // font the page may lack.
        const QString typed = "O'Neil <b>bold</b> …";
        QVERIFY2(text.contains(typed) && text.contains(QString::fromUtf8("שלום")),
                 qPrintable(text));
        QVERIFY(InOrder(text, {"Ink Printer", "Personal Computer", typed}));
        QCOMPARE(Count("Assets"), 3);
        // Each click reads the data again.
        RawSql("update Assets set AssetDescription='Colour Printer' where AssetID=1");
        const QString second = ReportText(*form, env.root() + "/second.pdf");
        QVERIFY(second.contains("Colour Printer") && !second.contains("Ink Printer"));
    }

    // Under a decimal-comma locale prices are stored as numbers.
    void shortTablesAreFilledOnceFullOnesReferredToByOldestAndNewest()
    {
        TestEnvironment env("de_DE");
        env.OpenDatabase();
        const LookupIds ids = AddLookupRows();
        g_Conn->Execute("insert into Employees (FirstName,LastName) values ('Eve','Newest')");
        g_Conn->Execute("delete from Status where StatusID=" + QString::number(ids.inUse));
        env.CloseDatabase();
        auto form = StartMainWindow();
        Click(*form, "PushButton4");
        Click(*form, "PushButton4");
        QCOMPARE(Rows("select Status from Status order by StatusID").join('|'),
                 QString("Retired|In process"));
        QCOMPARE(Count("Employees"), 3);
        QCOMPARE(Count("Vendors") + Count("[Asset Categories]") + Count("Departments"), 6);
        QCOMPARE(Count("Assets"), 6);
        QCOMPARE(KeysOf("Personal Computer"), QStringList(2, Keys("min")));
        QCOMPARE(KeysOf("Laser Printer"), QStringList(2, Keys("max")));
        QCOMPARE(form->ListView1->ItemCount(), 6);
        QCOMPARE(env.boxes.shown().size(), 0);
        QCOMPARE(QueryText("select PurchasePrice from Assets where ModelNumber='DPC628'"),
                 QString("1584"));
    }

    // A lookup table that stays empty gives two refused inserts, two null keys read and three
    // assets with a blank key; one whose keys are no numbers (a table another program made)
    // gives three assets refused before their keys could run as part of the statement.
    void aLookupTableThatGivesNoKeysIsReportedAndAddsNoAssets()
    {
        for (const bool textKeys : {false, true}) {
            TestEnvironment env;
            auto form = StartMainWindow();
            if (textKeys) {
                RawSql("drop table Status");
                RawSql("create table Status (StatusID TEXT, Status TEXT)");
                RawSql("insert into Status values ('(select 42)','In use'),('(select 42)','Old')");
            } else {
                Refuse("insert", "Departments");
            }
            const int reports = textKeys ? 3 : 7;
            for (int i = 0; i < reports; ++i)
                env.boxes.ExpectMessage(BoxAnswer::OK);
            Click(*form, "PushButton4");
            QCOMPARE(env.boxes.shown().size(), reports);
            for (const RecordingBoxes::Shown& box : env.boxes.shown())
                QVERIFY(box.request.prompt.contains(
                    "in Tarnwick2021/08/31.Form1.PushButton4_Click at line "));
            QVERIFY(!textKeys || env.boxes.prompts()[0].contains("is no record key"));
            QCOMPARE(Count("Assets"), 0);
            QCOMPARE(Count("Employees") + Count("Vendors"), 4);
        }
    }

    void aClosedConnectionIsReportedStepByStepAndNoReportShown()
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
    }
};

QTEST_MAIN(TestSample)
#include "test_sample.moc"
