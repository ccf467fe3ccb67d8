#include "data/AllOrNothing.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "data/SqlLiterals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <algorithm>
#include <functional>

// What the data layer stores reads back as it went in, in every locale and on both engines
// (a local file and a database server); what it refuses leaves the inventory as it was.
class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void everyStatementShapeGivesTheSameValues_data() { EngineRows(); }
    void everyStatementShapeGivesTheSameValues();
    void textsOfEveryKindRoundTrip_data() { EngineRows({"en_US", "de_DE"}); }
    void textsOfEveryKindRoundTrip();
    void moneyNumbersAndDatesKeepTheirValues_data() { EngineRows({"en_US", "de_DE"}); }
    void moneyNumbersAndDatesKeepTheirValues();
    void theListQueryJoinsNamesAndNullDates_data() { EngineRows(); }
    void theListQueryJoinsNamesAndNullDates();
    void aFailingStatementChangesNothing_data() { EngineRows(); }
    void aFailingStatementChangesNothing();
    void aLongRecordsetReadsOnAsItWasOpened_data() { EngineRows(); }
    void aLongRecordsetReadsOnAsItWasOpened();
    void filesThatAreNoDatabaseAreRefusedUntouched();
    void provisioningCopiesOnceAndKeepsData();
};

// The statements of the windows, in the order a user's work runs them, each followed by a
// query and what it must give.
void TestStorage::everyStatementShapeGivesTheSameValues()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    env.OpenDatabase(engine);
    struct Step
    {
        const char* statement;
        const char* query;
        const char* expected;
    };
    const Step steps[] = {
        {"insert into Employees ([FirstName],[LastName],[EmailName],[EmployeeNumber],[Title]) "
         "values ('John','Wilson','john@x.example','M234','Manager')",
         "SELECT Count(Employees.EmployeeID) AS [CountID] From Employees", "1"},
        {"insert into Employees (FirstName,LastName) values ('Ann','Adams')",
         "select EmployeeID, LastName+', '+FirstName as Employee from Employees order by "
         "LastName,FirstName",
         "2"},
        {"insert into [Asset Categories] (AssetCategory) values ('Main Category')",
         "select * from [Asset Categories] order by AssetCategory", "1"},
        {"insert into Status (Status) values ('In process')",
         "SELECT Last(Status.StatusID) AS [MaxID] FROM Status", "1"},
        {"insert into [Departments] (DepartmentName) values ('Sales')",
         "SELECT First(Departments.DepartmentID) AS [MaxID] FROM Departments", "1"},
        {"insert into Vendors ([ContactFirstName],[ContactLastName],VendorName,[Title]) values "
         "('Hanna','Simmons','Simmons Supplies','CEO')",
         "select VendorName from Vendors order by VendorName", "Simmons Supplies"},
        {"insert into Assets (AssetDescription,EmployeeID,AssetCategoryID,StatusID,DepartmentID,"
         "VendorID,ModelNumber,SerialNumber,BarcodeNumber,DateAcquired,DateSold,PurchasePrice,"
         "DepreciationMethod,DepreciableLife,SalvageValue,CurrentValue,Comments,NextSchedMaint) "
         "values ('Desk',1,1,1,1,1,'M','S','B','3/15/2021',null, CCur('1,500.25'),'SL',5,"
         "CCur('100'),CCur('1200'),'Comments here',null)",
         "select * from qryAssets where AssetID=1", "1"},
        {"update Assets set AssetDescription='Big desk',EmployeeID=2,DateSold='12/31/2025',"
         "PurchasePrice=CCur('99.5'),DepreciableLife=2.5 where AssetID=1",
         "select Employee from qryAssets where AssetID=1", "Adams, Ann"},
        {"insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,"
         "MaintenancePerformedBy,MaintenanceCost) values (1,'3/15/2021','Oil','Bob',12.5)",
         "select * from Maintenance where AssetID=1 order by MaintenanceDate", "1"},
        {"update Maintenance set MaintenanceDate='4/1/2021',MaintenanceCost=13 where "
         "MaintenanceID=1",
         "select MaintenanceDate from Maintenance where MaintenanceID=1", "4/1/2021"},
        {"insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) values "
         "(1,'1/31/2022',-20.5)",
         "select DepreciationAmount from Depreciation where AssetID=1 order by DepreciationDate",
         "-20.5"},
        {"update Depreciation set AssetID=1,DepreciationDate='2/28/2022',DepreciationAmount=7 "
         "where DepreciationID=1",
         "select DepreciationDate from Depreciation where DepreciationID=1", "2/28/2022"},
        {"delete from Maintenance where AssetID in (select AssetID from Assets where "
         "EmployeeID=2)",
         "select count(*) from Maintenance", "0"},
        {"delete from Employees where EmployeeID=2", "select count(*) from qryAssets", "1"},
        {"delete from Assets where AssetID=1", "select count(*) from Depreciation", "1"},
        {"delete from Depreciation where AssetID=1", "select count(*) from Assets", "0"},
    };
    for (const Step& step : steps) {
        QCOMPARE(g_Conn->Execute(step.statement), 1); // each changes one row
        QCOMPARE(QueryText(step.query), QString(step.expected));
    }
    // Text orders as the program sorts it: without regard to case, accents beside their letter.
    for (const char* name : {"zebra", "\u00c4pfel", "apple", "Banana"})
        g_Conn->Execute(QString("insert into Vendors (VendorName) values ('%1')").arg(name));
    Recordset rs;
    rs.Open("select VendorName from Vendors order by VendorName", *g_Conn);
    QStringList names;
    for (; !rs.Eof(); rs.MoveNext())
        names << rs.Fields(0).Value.stringValue();
    QCOMPARE(names, QStringList({"\u00c4pfel", "apple", "Banana", "Simmons Supplies", "zebra"}));
    rs.Close();
    rs.Open("select * from qryAssets", *g_Conn);
    QVERIFY(rs.Eof());
    QCOMPARE(rs.FieldNames(),
             QStringList({"AssetID", "Employee", "VendorName", "AssetCategory", "Status",
                          "DepartmentName", "NextSchedMaint", "AssetDescription", "DateAcquired",
                          "DateSold", "ModelNumber", "SerialNumber", "BarcodeNumber",
                          "PurchasePrice", "CurrentValue", "DepreciationMethod", "DepreciableLife",
                          "SalvageValue", "Comments"}));
    // A new row never takes the key of a deleted one.
    g_Conn->Execute("insert into Employees (FirstName,LastName) values ('Cy','Cole')");
    QCOMPARE(QueryText("select max(EmployeeID) from Employees"), QString("3"));
}

void TestStorage::textsOfEveryKindRoundTrip()
{
    QFETCH(TestEngine, engine);
    QFETCH(QString, locale);
    TestEnvironment env(locale);
    env.OpenDatabase(engine);
    const QStringList texts = HostileTexts() << QString("new\nline\r\n");
    for (const QString& text : texts) {
        g_Conn->Execute("insert into Vendors (VendorName) values (" + TextLiteral(text) + ")");
        const QString key = QueryText("select max(VendorID) from Vendors");
        QCOMPARE(QueryText("select VendorName from Vendors where VendorID=" + IdLiteral(key)),
                 text);
        QCOMPARE(g_Conn->Execute("update Assets set ModelNumber=" + TextLiteral(text) +
                                 " where AssetID=0"),
                 0);
    }
    QCOMPARE(QueryCount("select count(*) from Vendors"), texts.size());
    QCOMPARE(QueryCount("select count(*) from Assets"), 0);
    // A NUL cannot end the statement early and let the rest run: the statement is refused.
    const QString nul = QString("a") + QChar(0) + "') or 1=1; delete from Vendors --";
    QVERIFY(Refusal([&] {
                g_Conn->Execute("insert into Status (Status) values (" + TextLiteral(nul) + ")");
            }).contains("NUL"));
    QCOMPARE(QueryCount("select count(*) from Status"), 0);
    QCOMPARE(QueryCount("select count(*) from Vendors"), texts.size());
}

void TestStorage::moneyNumbersAndDatesKeepTheirValues()
{
    QFETCH(TestEngine, engine);
    QFETCH(QString, locale);
    TestEnvironment env(locale);
    env.OpenDatabase(engine);
    const bool comma = locale == "de_DE";
    const QString money = comma ? "1.234,50" : "1,234.50";
    g_Conn->Execute(
        "insert into Assets (AssetDescription,PurchasePrice,CurrentValue,DepreciableLife,"
        "DateAcquired,DateSold,NextSchedMaint) values ('Pump'," +
        MoneyLiteral(money) + "," + NumberLiteral(10.5) + "," +
        NumberLiteral(Currency::FromTenThousandths(-1255)) + "," +
        DateLiteralOrNull(comma ? "31.01.2026" : "1/31/2026") + "," + DateLiteralOrNull("") + "," +
        DateLiteralOrNull(comma ? "31.01.2026 14:30" : "1/31/2026 2:30 PM") + ")");
    Recordset rs;
    rs.Open("select * from Assets", *g_Conn, 3, 1);
    QVERIFY(rs.Fields("PurchasePrice").Value.type() == Variant::Type::Currency);
    QCOMPARE(CStr(rs.Fields("PurchasePrice").Value), comma ? QString("1234,5") : QString("1234.5"));
    QCOMPARE(CStr(rs.Fields("CurrentValue").Value), comma ? QString("10,5") : QString("10.5"));
    QCOMPARE(CStr(rs.Fields("DepreciableLife").Value),
             comma ? QString("-0,1255") : QString("-0.1255"));
    QCOMPARE(rs.Fields("DateAcquired").Value.dateValue().date(), QDate(2026, 1, 31));
    QVERIFY(!rs.Fields("DateAcquired").Value.dateHasTime());
    QVERIFY(rs.Fields("DateSold").Value.isNull());
    QCOMPARE(rs.Fields("NextSchedMaint").Value.dateValue(),
             QDateTime(QDate(2026, 1, 31), QTime(14, 30)));
    QVERIFY(rs.Fields("NextSchedMaint").Value.dateHasTime());
    QCOMPARE(QueryText("select DateAcquired from Assets"), comma ? "31.01.2026" : "1/31/2026");
    QCOMPARE(QueryCount("select count(*) from Assets where DateAcquired < '2026-02-01'"), 1);

    // An impossible date and a text that is no amount are refused, and nothing of the row is
    // stored.
    for (const QString& values : {QString("1,'31/02/2021',CCur('5')"), QString("1,null,CCur('x')"),
                                  QString("1,null,CCur(AssetID)")}) {
        const QString refused = Refusal([&] {
            g_Conn->Execute("insert into Depreciation (AssetID,DepreciationDate,"
                            "DepreciationAmount) values (" +
                            values + ")");
        });
        QVERIFY2(!refused.isEmpty(), qPrintable(values));
    }
    QCOMPARE(QueryCount("select count(*) from Depreciation"), 0);

    // First and Last give the oldest and newest keys, Count the rows.
    for (const char* name : {"Main", "Second", "Third"})
        g_Conn->Execute(
            QString("insert into [Asset Categories] (AssetCategory) values ('%1')").arg(name));
    g_Conn->Execute("delete from [Asset Categories] where AssetCategory='Main'");
    QCOMPARE(QueryText("SELECT Count([Asset Categories].AssetCategoryID) AS [CountID] "
                       "From [Asset Categories]"),
             QString("2"));
    QCOMPARE(QueryText("SELECT First([Asset Categories].AssetCategory) AS [MaxID] FROM "
                       "[Asset Categories]"),
             QString("Second"));
    QCOMPARE(QueryText("SELECT Last([Asset Categories].AssetCategoryID) AS [MaxID] FROM "
                       "[Asset Categories]"),
             QString("3"));
}

void TestStorage::theListQueryJoinsNamesAndNullDates()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    env.OpenDatabase(engine);
    g_Conn->Execute("insert into Employees (FirstName,LastName) values ('John','Wilson')");
    g_Conn->Execute("insert into Assets (AssetDescription,EmployeeID) values ('Desk',1)");
    Recordset rs;
    rs.Open("select * from qryAssets", *g_Conn, 3, 1);
    QVERIFY(!rs.Eof());
    QCOMPARE(CStr(rs.Fields("Employee").Value), QString("Wilson, John"));
    QCOMPARE(TextOf(rs.Fields("DateAcquired").Value), QString());
    QVERIFY(!Refusal([&] { CStr(rs.Fields("DateAcquired").Value); }).isEmpty());
    QCOMPARE(Refusal([&] { rs.Fields("NoSuchField"); }).contains("NoSuchField"), true);
    rs.MoveNext();
    QVERIFY(rs.Eof());
    QVERIFY(!Refusal([&] { rs.Fields("Employee"); }).isEmpty());
}

void TestStorage::aFailingStatementChangesNothing()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    env.OpenDatabase(engine);
    g_Conn->Execute("insert into Status (Status) values ('Kept')");
    const QByteArray digest = ContentDigest(*g_Conn);
    // A description quotes the statement's beginning, never pages of typed text.
    for (const QString& sql :
         {QString("insert into Status (NoColumn) values ('x')"),
          QString("update Status set Status='Gone'; delete from Status"),
          QString("delete from Status where StatusID=1 or"), QString("drop table"),
          QString("-- nothing but a comment"),
          "insert into Status (NoColumn) values ('" + QString(5000, 'x') + "')"}) {
        const QString refused = Refusal([&] { g_Conn->Execute(sql); });
        QVERIFY2(!refused.isEmpty() && refused.contains(sql.left(20)), qPrintable(sql));
        QVERIFY2(refused.size() < 400, qPrintable(refused));
    }
    // A recordset only reads, and a command that fails halfway keeps nothing.
    QVERIFY(!Refusal([&] { Recordset().Open("delete from Status", *g_Conn); }).isEmpty());
    QVERIFY(!Refusal([&] {
                 ExecuteAllOrNothing({"insert into Status (Status) values ('Half')",
                                      "insert into Status (NoColumn) values (1)"});
             }).isEmpty());
    QCOMPARE(QueryText("select Status from Status"), QString("Kept"));
    QCOMPARE(ContentDigest(*g_Conn), digest);
    env.CloseDatabase();

    Connection closed;
    QCOMPARE(closed.State(), 0);
    QVERIFY(!Refusal([&] { closed.Execute("select 1"); }).isEmpty());
    QVERIFY(Refusal([&] {
                closed.Open("provider=sqloledb;data source=" + env.workingDatabase());
            }).contains("sqloledb", Qt::CaseInsensitive));
    QVERIFY(!Refusal([&] { closed.Open(FileConnectionString("")); }).isEmpty());
    QCOMPARE(closed.State(), 0);
}

// A recordset reads a long result on as it moves and lets go of the rows it passed: a write
// in between changes none of its rows, and moving back reads them again, or is refused when
// the local file has changed since.
void TestStorage::aLongRecordsetReadsOnAsItWasOpened()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    env.OpenDatabase(engine);
    // Three batches of rows, more than a recordset keeps of the rows it passed.
    constexpr int kAssets = 2500;
    QStringList inserts;
    for (int i = 1; i <= kAssets; ++i)
        inserts << QString("insert into Assets (AssetDescription,Comments) values ('%1','%2')")
                       .arg(i)
                       .arg(QString(5000, 'c'));
    ExecuteAllOrNothing(inserts);
    const auto readOn = [](Recordset& rs) {
        QStringList descriptions;
        for (; !rs.Eof(); rs.MoveNext())
            descriptions << rs.Fields(0).Value.stringValue();
        return descriptions;
    };
    const QString sql = "select AssetDescription, Comments from Assets order by AssetID";
    Recordset rs;
    rs.Open(sql, *g_Conn);
    for (int i = 0; i < 1500; ++i)
        rs.MoveNext();
    g_Conn->Execute("update Assets set AssetDescription='changed'");
    const QStringList rest = readOn(rs);
    QCOMPARE(rest.size(), kAssets - 1500);
    QCOMPARE(rest.count("changed"), 0);
    const QString refused = Refusal([&] { rs.MoveFirst(); });
    QCOMPARE(refused.contains("changed since"), engine == TestEngine::File);

    Recordset again;
    again.Open(sql, *g_Conn);
    QCOMPARE(readOn(again).size(), kAssets);
    again.MoveFirst();
    QCOMPARE(readOn(again).front(), QString("changed"));
    QCOMPARE(again.RecordCount(), kAssets);

    // A row that fails in a batch read ahead: the error comes when the rows reach that
    // batch, then the rows before the failing one, then the error again. (A server reports
    // such a row when the query runs.)
    if (engine == TestEngine::File) {
        Recordset failing;
        failing.Open("select Comments, abs(case when AssetID = (select min(AssetID) from "
                     "Assets) + 1999 then -9223372036854775807 - 1 end) from Assets "
                     "order by AssetID",
                     *g_Conn);
        int passed = 0;
        const auto readOnAll = [&] {
            for (; !failing.Eof(); failing.MoveNext())
                ++passed;
        };
        QVERIFY(Refusal(readOnAll).contains("overflow"));
        QCOMPARE(passed, 1024);
        QVERIFY(Refusal(readOnAll).contains("overflow"));
        QCOMPARE(passed, 1999);
    }

    // Small rows: a megabyte of them is kept, then dozens of batches are read ahead one by
    // one, the last one short; every row comes, once and in order.
    const QString pairs = "from Assets a, Assets b where b.AssetID % 64 = 0";
    Recordset small;
    small.Open("select a.AssetID " + pairs + " order by a.AssetID, b.AssetID", *g_Conn);
    std::vector<std::int64_t> keys;
    for (; !small.Eof(); small.MoveNext())
        keys.push_back(small.Fields(0).Value.longValue());
    QCOMPARE(qsizetype(keys.size()), QueryCount("select count(*) " + pairs));
    QVERIFY(keys.size() > 90000 && std::is_sorted(keys.begin(), keys.end()));
}

void TestStorage::filesThatAreNoDatabaseAreRefusedUntouched()
{
    TestEnvironment env;
    QFile::copy(TemplateDatabasePath(), env.root() + "/truncated.mdb");
    QFile truncated(env.root() + "/truncated.mdb");
    truncated.resize(truncated.size() / 2);
    QFile text(env.root() + "/letter.mdb");
    text.open(QIODevice::WriteOnly);
    text.write("Dear supplier, this is no database.\n");
    text.close();
    QFile damaged(env.root() + "/damaged.mdb");
    QFile::copy(TemplateDatabasePath(), damaged.fileName());
    damaged.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    damaged.open(QIODevice::ReadWrite);
    damaged.seek(100);
    damaged.write(QByteArray(2000, '\xff'));
    damaged.close();

    for (const char* name : {"truncated.mdb", "letter.mdb", "damaged.mdb"}) {
        const QString path = env.root() + "/" + QString(name);
        const QByteArray before = Digest(path);
        Connection connection;
        const QString refused = Refusal([&] {
            connection.Open(FileConnectionString(path));
            connection.Execute("insert into Status (Status) values ('x')");
        });
        QVERIFY2(!refused.isEmpty(), qPrintable(name));
        QCOMPARE(Digest(path), before);
    }
    Connection connection;
    QVERIFY(!Refusal([&] {
                 connection.Open(FileConnectionString(env.root() + "/missing.mdb"));
             }).isEmpty());
    QVERIFY(!QFile::exists(env.root() + "/missing.mdb"));
}

void TestStorage::provisioningCopiesOnceAndKeepsData()
{
    {
        TestEnvironment env;
        ProvisionDatabase();
        QCOMPARE(WorkingDatabasePath(), env.dataHome() + "/Velquor/Tarnwick/dbData.mdb");
        QCOMPARE(Digest(env.workingDatabase()), Digest(TemplateDatabasePath()));
        g_Conn = std::make_unique<Connection>();
        g_Conn->Open(ConnectionString());
        g_Conn->Execute("insert into Status (Status) values ('Kept')");
        env.CloseDatabase();
        ProvisionDatabase();
        env.OpenDatabase();
        QCOMPARE(QueryText("select Status from Status"), QString("Kept"));
        env.CloseDatabase();
        QFile::remove(env.workingDatabase());
        ProvisionDatabase();
        QCOMPARE(Digest(env.workingDatabase()), Digest(TemplateDatabasePath()));
    }
    TestEnvironment env;
    QDir().mkpath(env.dataHome());
    QFile blocker(env.dataHome() + "/Velquor");
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    QVERIFY(!Refusal([] { ProvisionDatabase(); }).isEmpty());
    QVERIFY(QFileInfo(env.dataHome() + "/Velquor").isFile());
    QCOMPARE(QDir(env.dataHome()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList({"Velquor"}));
}

QTEST_GUILESS_MAIN(TestStorage)
#include "test_storage.moc"
