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
#include <functional>

// What the data layer stores reads back as it went in, in every locale; what it refuses
// leaves the file as it was.
class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void textsOfEveryKindRoundTrip_data();
    void textsOfEveryKindRoundTrip();
    void moneyNumbersAndDatesKeepTheirValues_data();
    void moneyNumbersAndDatesKeepTheirValues();
    void theListQueryJoinsNamesAndNullDates();
    void aFailingStatementChangesNothing();
    void filesThatAreNoDatabaseAreRefusedUntouched();
    void provisioningCopiesOnceAndKeepsData();
};

namespace {

QString Refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.Description();
    }
    return QString();
}

QString OpenString(const QString& path)
{
    return "provider=microsoft.jet.oledb.4.0;data source=" + path + ";JET OLEDB:Database Password=";
}

} // namespace

void TestStorage::textsOfEveryKindRoundTrip_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* locale : {"en_US", "de_DE"})
        QTest::newRow(locale) << QString(locale);
}

void TestStorage::textsOfEveryKindRoundTrip()
{
    QFETCH(QString, locale);
    TestEnvironment env(locale);
    env.OpenDatabase();
    const QStringList texts = HostileTexts() << QString("new\nline\r\n");
    for (const QString& text : texts) {
        g_Conn->Execute("insert into Vendors (VendorName) values (" + TextLiteral(text) + ")");
        const QString key = QueryText("select max(VendorID) from Vendors");
        QCOMPARE(QueryText("select VendorName from Vendors where VendorID=" + IdLiteral(key)),
                 text);
        g_Conn->Execute("update Assets set ModelNumber=" + TextLiteral(text) + " where AssetID=0");
    }
    QCOMPARE(QueryCount("select count(*) from Vendors"), texts.size());
    QCOMPARE(QueryCount("select count(*) from Assets"), 0);
    // A NUL cannot end the statement early and let the rest run: the statement is refused.
    const QString nul = QString("a") + QChar(0) + "') or 1=1; delete from Vendors --";
    QVERIFY(!Refusal([&] {
                 g_Conn->Execute("insert into Status (Status) values (" + TextLiteral(nul) + ")");
             }).isEmpty());
    QCOMPARE(QueryCount("select count(*) from Status"), 0);
    QCOMPARE(QueryCount("select count(*) from Vendors"), texts.size());
}

void TestStorage::moneyNumbersAndDatesKeepTheirValues_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("de_DE") << "de_DE";
}

void TestStorage::moneyNumbersAndDatesKeepTheirValues()
{
    QFETCH(QString, locale);
    TestEnvironment env(locale);
    env.OpenDatabase();
    const bool comma = locale == "de_DE";
    const QString money = comma ? "1.234,50" : "1,234.50";
    g_Conn->Execute(
        "insert into Assets (AssetDescription,PurchasePrice,CurrentValue,DepreciableLife,"
        "DateAcquired,DateSold) values ('Pump'," +
        MoneyLiteral(money) + "," + NumberLiteral(10.5) + "," +
        NumberLiteral(Currency::FromTenThousandths(-1255)) + "," +
        DateLiteralOrNull(comma ? "31.01.2026" : "1/31/2026") + "," + DateLiteralOrNull("") + ")");
    Recordset rs;
    rs.Open("select * from Assets", *g_Conn, 3, 1);
    QCOMPARE(CStr(rs.Fields("PurchasePrice").Value), comma ? QString("1234,5") : QString("1234.5"));
    QCOMPARE(CStr(rs.Fields("CurrentValue").Value), comma ? QString("10,5") : QString("10.5"));
    QCOMPARE(CStr(rs.Fields("DepreciableLife").Value),
             comma ? QString("-0,1255") : QString("-0.1255"));
    QCOMPARE(rs.Fields("DateAcquired").Value.dateValue().date(), QDate(2026, 1, 31));
    QVERIFY(rs.Fields("DateSold").Value.isNull());
    QCOMPARE(QueryText("select DateAcquired from Assets"), comma ? "31.01.2026" : "1/31/2026");
    QCOMPARE(QueryCount("select count(*) from Assets where DateAcquired < '2026-02-01'"), 1);

    // An impossible date is refused and nothing of the row is stored.
    const QString refused = Refusal([] {
        g_Conn->Execute("insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) "
                        "values (1,'31/02/2021',CCur('5'))");
    });
    QVERIFY2(refused.contains("31/02/2021") && refused.contains("DepreciationDate"),
             qPrintable(refused));
    QCOMPARE(QueryCount("select count(*) from Depreciation"), 0);

    // First and Last give the oldest and newest keys, Count the rows.
    for (const char* name : {"Main", "Second", "Third"})
        g_Conn->Execute(
            QString("insert into [Asset Categories] (AssetCategory) values ('%1')").arg(name));
    g_Conn->Execute("delete from [Asset Categories] where AssetCategory='Main'");
    QCOMPARE(QueryText("SELECT Count([Asset Categories].AssetCategoryID) AS [CountID] "
                       "From [Asset Categories]"),
             QString("2"));
    QCOMPARE(QueryText("SELECT First([Asset Categories].AssetCategoryID) AS [MaxID] FROM "
                       "[Asset Categories]"),
             QString("2"));
    QCOMPARE(QueryText("SELECT Last([Asset Categories].AssetCategoryID) AS [MaxID] FROM "
                       "[Asset Categories]"),
             QString("3"));
}

void TestStorage::theListQueryJoinsNamesAndNullDates()
{
    TestEnvironment env;
    env.OpenDatabase();
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
    TestEnvironment env;
    env.OpenDatabase();
    g_Conn->Execute("insert into Status (Status) values ('Kept')");
    const QString digest = Digest(env.workingDatabase());
    // A description quotes the statement's beginning, never pages of typed text.
    for (const QString& sql :
         {QString("insert into Status (NoColumn) values ('x')"),
          QString("update Status set Status='Gone'; delete from Status"),
          QString("delete from Status where StatusID=1 or"), QString("drop table"),
          "insert into Status (NoColumn) values ('" + QString(5000, 'x') + "')"}) {
        const QString refused = Refusal([&] { g_Conn->Execute(sql); });
        QVERIFY2(!refused.isEmpty() && refused.contains(sql.left(20)), qPrintable(sql));
        QVERIFY2(refused.size() < 400, qPrintable(refused));
    }
    QCOMPARE(QueryText("select Status from Status"), QString("Kept"));
    QCOMPARE(Digest(env.workingDatabase()), digest);
    env.CloseDatabase();

    Connection closed;
    QCOMPARE(closed.State(), 0);
    QVERIFY(!Refusal([&] { closed.Execute("select 1"); }).isEmpty());
    QVERIFY(Refusal([&] {
                closed.Open("provider=sqloledb;data source=" + env.workingDatabase());
            }).contains("sqloledb", Qt::CaseInsensitive));
    QVERIFY(!Refusal([&] { closed.Open(OpenString("")); }).isEmpty());
    QCOMPARE(closed.State(), 0);
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
            connection.Open(OpenString(path));
            connection.Execute("insert into Status (Status) values ('x')");
        });
        QVERIFY2(!refused.isEmpty(), qPrintable(name));
        QCOMPARE(Digest(path), before);
    }
    Connection connection;
    QVERIFY(!Refusal([&] { connection.Open(OpenString(env.root() + "/missing.mdb")); }).isEmpty());
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
