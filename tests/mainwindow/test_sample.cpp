#include "mainwindow/CommandsFixture.h"

#include "editor/EditorFixture.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"

class TestSample : public QObject
{
    Q_OBJECT

private:
    // Every row of the query, its fields joined by "|".
    static QStringList Rows(const QString& sql)
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
        rs.Close();
        return rows;
    }
    static QString KeysOf(const QString& description)
    {
        return Rows("select EmployeeID, AssetCategoryID, StatusID, DepartmentID, VendorID "
                    "from Assets where AssetDescription='" +
                    description + "'")
            .value(0);
    }
    static QString Keys(const char* aggregate)
    {
        const QString a = aggregate;
        return Rows("select (select " + a + "(EmployeeID) from Employees), (select " + a +
                    "(AssetCategoryID) from [Asset Categories]), (select " + a +
                    "(StatusID) from Status), (select " + a +
                    "(DepartmentID) from Departments), (select " + a + "(VendorID) from Vendors)")
            .value(0);
    }
    static long long Count(const QString& table)
    {
        return QueryCount("select count(*) from " + table);
    }

private slots:
    void emptyLookupTablesGetBothExampleRowsAndThreeAssets()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        Click(*form, "PushButton4");
        QCOMPARE(env.boxes.shown().size(), 0);

        QCOMPARE(Rows("select FirstName, LastName, EmailName, EmployeeNumber, Title "
                      "from Employees order by EmployeeID"),
                 QStringList({"John|Wilson|john.wilson@tarnwick.example|M234|Manager",
                              "Daniel|Carter|daniel.carter@tarnwick.example|M123|HR"}));
        QCOMPARE(Rows("select Status from Status order by StatusID"),
                 QStringList({"In process", "Cancelled"}));
        QCOMPARE(Rows("select AssetCategory from [Asset Categories] order by AssetCategoryID"),
                 QStringList({"New Category", "Main Category"}));
        QCOMPARE(Rows("select ContactFirstName, ContactLastName, VendorName, Title "
                      "from Vendors order by VendorID"),
                 QStringList({"Hanna|Simmons|Simmons Supplies|CEO",
                              "Neil|Burgess|WestEast Cost Cars|Senior manager"}));
        QCOMPARE(Rows("select DepartmentName from Departments order by DepartmentID"),
                 QStringList({"Sales", "Support"}));

        const QString today = "12/7/2026";
        QCOMPARE(Rows("select AssetDescription, ModelNumber, SerialNumber, BarcodeNumber, "
                      "DateAcquired, DateSold, PurchasePrice, DepreciationMethod, "
                      "DepreciableLife, SalvageValue, CurrentValue, Comments, NextSchedMaint "
                      "from Assets order by AssetID"),
                 QStringList({"Ink Printer|IPT11|W3C124|0786543|" + today + "|" + today +
                                  "|584|SL|5|30|520|Comments here|",
                              "Personal Computer|DPC628|XEC349834|00754355|" + today + "|" + today +
                                  "|1584|SL|5|300|1520|Comments here|",
                              "Laser Printer|LPT33|W3C2455|000434545|" + today + "|" + today +
                                  "|844|SL|5|120|645|Comments here|"}));
        QCOMPARE(QueryCount("select count(*) from Assets where NextSchedMaint is null"), 3);
        QCOMPARE(KeysOf("Personal Computer"), Keys("min"));
        QCOMPARE(KeysOf("Ink Printer"), Keys("max"));
        QCOMPARE(KeysOf("Laser Printer"), Keys("max"));
        QCOMPARE(form->ListView1->ItemCount(), 3);
    }

    void fullLookupTablesAreReferredToByTheirOldestAndNewestRows()
    {
        TestEnvironment env;
        env.OpenDatabase();
        AddLookupRows();
        g_Conn->Execute("insert into Employees (FirstName,LastName) values ('Eve','Last')");
        g_Conn->Execute("insert into Departments (DepartmentName) values ('Last')");
        env.CloseDatabase();
        auto form = StartMainWindow();
        Click(*form, "PushButton4");
        QCOMPARE(Count("Employees"), 3);
        QCOMPARE(Count("Departments"), 3);
        QCOMPARE(Count("Vendors") + Count("Status") + Count("[Asset Categories]"), 6);
        QCOMPARE(KeysOf("Personal Computer"), Keys("min"));
        QCOMPARE(KeysOf("Laser Printer"), Keys("max"));
    }

    void aTableWithOneRowGetsOnlyTheFirstExampleRowAndRunsAddAssetsOnly()
    {
        TestEnvironment env;
        env.OpenDatabase();
        g_Conn->Execute("insert into Status (Status) values ('Existing')");
        env.CloseDatabase();
        auto form = StartMainWindow();
        Click(*form, "PushButton4");
        Click(*form, "PushButton4");
        QCOMPARE(Rows("select Status from Status order by StatusID"),
                 QStringList({"Existing", "In process"}));
        QCOMPARE(Count("Employees") + Count("Vendors") + Count("[Asset Categories]") +
                     Count("Departments"),
                 8);
        QCOMPARE(Count("Assets"), 6);
        QCOMPARE(form->ListView1->ItemCount(), 6);
    }

    void todayIsStoredAsADateUnderADecimalCommaLocale()
    {
        TestEnvironment env("de_DE");
        auto form = StartMainWindow();
        Click(*form, "PushButton4");
        QCOMPARE(env.boxes.shown().size(), 0);
        QVERIFY(StoredText("select DateAcquired from Assets").startsWith("2026-12-07"));
        QVERIFY(StoredText("select DateSold from Assets").startsWith("2026-12-07"));
        QCOMPARE(QueryText("select PurchasePrice from Assets where ModelNumber='DPC628'"),
                 QString("1584"));
    }

    void aLookupTableThatStaysEmptyIsReportedAndAddsNoAssets()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        Refuse("insert", "Departments");
        // Two refused inserts, two null keys, three assets with a blank key.
        for (int i = 0; i < 7; ++i)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, "PushButton4");
        QCOMPARE(env.boxes.shown().size(), 7);
        for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
            QCOMPARE(box.request.title, QString("Application Error"));
            QVERIFY(box.request.prompt.contains(
                "in Tarnwick2021/08/31.Form1.PushButton4_Click at line "));
        }
        QCOMPARE(Count("Assets"), 0);
        QCOMPARE(Count("Employees") + Count("Vendors"), 4);
    }
};

QTEST_MAIN(TestSample)
#include "test_sample.moc"
