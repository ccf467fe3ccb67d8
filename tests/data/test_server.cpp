#include "data/CopyInventory.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "data/ServerSchema.h"
#include "data/SharedInventory.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTest>
#include <functional>

// A shared inventory on a PostgreSQL server: how a database is set up or refused, what a
// server that goes away does to a command, and copying an inventory between a file and a
// server. (How a failed connection is told: tests/shared.)
class TestSharedInventory : public QObject
{
    Q_OBJECT

private slots:
    void anEmptyDatabaseIsSetUpAndAnyOtherRefusedUntouched();
    void aServerThatGoesAwayFailsOnlyItsCommands();
    void copyingKeepsEveryRowAndNeverGivesAKeyTwice();
    void theKeptChoiceNeverHoldsAPassword();
};

namespace {

QStringList Relations(Connection& connection)
{
    QStringList names;
    Recordset rs;
    rs.Open("select tablename from pg_tables where schemaname = 'public' order by 1", connection);
    for (; !rs.Eof(); rs.MoveNext())
        names << rs.Fields(0).Value.stringValue();
    return names;
}

} // namespace

void TestSharedInventory::anEmptyDatabaseIsSetUpAndAnyOtherRefusedUntouched()
{
    TestEnvironment env;
    const QString empty = env.NewServerDatabase();
    ConnectionTest test = TestConnection(empty);
    QVERIFY2(test.works && test.report.contains("is empty"), qPrintable(test.report));
    Connection connection;
    OpenInventory(connection, empty);
    QCOMPARE(Relations(connection),
             QStringList({"Asset Categories", "Assets", "Departments", "Depreciation", "Employees",
                          "Maintenance", "SchemaVersion", "Status", "Vendors"}));
    QCOMPARE(QString::number(connection.Execute("insert into Status (Status) values ('x')")),
             QString("1"));
    test = TestConnection(empty);
    QVERIFY2(test.works && test.report.contains("0 assets"), qPrintable(test.report));
    connection.Close();
    OpenInventory(connection, empty);
    connection.Close();

    // What is refused is left exactly as it was.
    struct Case
    {
        const char* change;
        const char* refusal;
    };
    for (const Case& c :
         {Case{"create table orders (id int)",
               "holds tables that are not part of a Tarnwick inventory (orders)"},
          Case{"update SchemaVersion set Version = 2", "set up by a newer version of Tarnwick"},
          Case{"drop view qryAssets", "is damaged: qryAssets is missing"}}) {
        const QString database = env.NewServerDatabase();
        Connection setUp;
        if (QString(c.change).startsWith("create"))
            setUp.Open(database);
        else
            OpenInventory(setUp, database);
        setUp.Execute(c.change);
        const QStringList before = Relations(setUp);
        setUp.Close();
        const QString refused = Refusal([&] { OpenInventory(connection, database); });
        QVERIFY2(refused.contains(c.refusal), qPrintable(refused));
        QCOMPARE(connection.State(), 0);
        test = TestConnection(database);
        QVERIFY(!test.works);
        QCOMPARE(test.report, refused);
        setUp.Open(database);
        QCOMPARE(Relations(setUp), before);
    }
}

void TestSharedInventory::aServerThatGoesAwayFailsOnlyItsCommands()
{
    TestEnvironment env;
    OwnTestServer server;
    Connection connection;
    OpenInventory(connection, server.ConnectionString());
    connection.Execute("insert into Status (Status) values ('Before')");
    const auto count = [&] {
        Recordset rs;
        rs.Open("select count(*) from Status", connection);
        return rs.Fields(0).Value.longValue();
    };

    // Within a command: nothing of it is kept, and nothing runs until it has been rolled back.
    // (Between commands: tests/shared.)
    connection.BeginTrans();
    connection.Execute("insert into Status (Status) values ('Half')");
    server.Control("halt");
    server.Control("resume");
    QVERIFY(Refusal([&] {
                connection.Execute("insert into Status (Status) values ('Rest')");
            }).contains("was lost during this command; the server has undone what it did"));
    QVERIFY(!Refusal([&] { connection.CommitTrans(); }).isEmpty());
    connection.RollbackTrans();
    QCOMPARE(count(), 1);
}

void TestSharedInventory::copyingKeepsEveryRowAndNeverGivesAKeyTwice()
{
    TestEnvironment env;
    env.OpenDatabase();
    for (const char* sql :
         {"insert into Employees (FirstName,LastName) values ('John','O''Neil')",
          "insert into Vendors (VendorName) values ('Tab\tand\\backslash\nnew line')",
          "insert into [Asset Categories] (AssetCategory) values ('Main')",
          "insert into Assets (AssetDescription,EmployeeID,DateAcquired,PurchasePrice,"
          "DepreciableLife) values ('Desk',1,'3/15/2021 2:30 PM',CCur('1,234.5678'),2.5)",
          "insert into Assets (AssetDescription,EmployeeID) values ('Gone',1)",
          "insert into Maintenance (AssetID,MaintenanceDate,MaintenanceCost) values "
          "(2,'1/2/2022',12.5)",
          "delete from Assets where AssetID=2"})
        g_Conn->Execute(sql);
    const QByteArray local = ContentDigest(*g_Conn);

    Connection server;
    OpenInventory(server, env.NewServerDatabase());
    CopyInventory(*g_Conn, server);
    QCOMPARE(ContentDigest(server), local);
    // The deleted asset's key stays given: its history must not pass to a new asset.
    server.Execute("insert into Assets (AssetDescription) values ('New')");
    Recordset rs;
    rs.Open("select max(AssetID) from Assets", server);
    QCOMPARE(rs.Fields(0).Value.longValue(), 3);
    rs.Close();

    const QByteArray shared = ContentDigest(server);
    QVERIFY(Refusal([&] { CopyInventory(*g_Conn, server); }).contains("not empty"));
    QCOMPARE(ContentDigest(server), shared);

    // Back into a file of the program's own format, as a backup of a shared inventory.
    const QString path = env.root() + "/shared.mdb";
    CopyInventoryToFile(server, path);
    Connection file;
    file.Open(FileConnectionString(path));
    QCOMPARE(ContentDigest(file), shared);
    file.Execute("insert into Assets (AssetDescription) values ('Newer')");
    rs.Open("select max(AssetID) from Assets", file);
    QCOMPARE(rs.Fields(0).Value.longValue(), 4);
    QCOMPARE(QDir(env.root()).entryList({"shared*"}), QStringList({"shared.mdb"}));
}

void TestSharedInventory::theKeptChoiceNeverHoldsAPassword()
{
    TestEnvironment env;
    const ServerAddress address{"db.example", 5433, "inventory", "anna@office", "require"};
    const QString uri = InventoryUri(address);
    QCOMPARE(uri, QString("postgresql://anna%40office@db.example:5433/inventory?sslmode=require"));
    KeepInventory(WithPassword(uri, "s3cret'\\"));
    QCOMPARE(KeptInventory(), uri);
    QVERIFY(AddressOf(WithPassword(uri, "x")) == address);
    QCOMPARE(InventoryName(uri), QString("inventory@db.example"));
    const ServerAddress local{"/run/postgresql", 5432, "stock", "", ""};
    QCOMPARE(AddressOf(InventoryUri(local)).host, QString("/run/postgresql"));
    QCOMPARE(InventoryName(InventoryUri(local)), QString("stock@this computer"));
    KeepInventory("");
    QCOMPARE(KeptInventory(), QString());
}

QTEST_GUILESS_MAIN(TestSharedInventory)
#include "test_server.moc"
