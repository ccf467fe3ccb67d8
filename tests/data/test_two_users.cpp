#include "data/AssetCheck.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Recordset.h"
#include "support/TestSupport.h"

#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

// Two people, or twenty, working on one inventory at once, on a local file and on a server:
// a save finds what someone else changed since the editor read it, and nothing anyone adds
// is lost.
class TestTwoUsers : public QObject
{
    Q_OBJECT

private slots:
    void aSaveFindsWhatOthersChangedOrDeleted_data() { EngineRows(); }
    void aSaveFindsWhatOthersChangedOrDeleted();
    void aSaveWaitsForAnotherSaveOfTheSameAsset_data() { EngineRows(); }
    void aSaveWaitsForAnotherSaveOfTheSameAsset();
    void twentyClientsAddingAtOnceLoseNothing_data() { EngineRows(); }
    void twentyClientsAddingAtOnceLoseNothing();
};

namespace {

RowSnapshot ReadAsset(Connection& connection)
{
    Recordset rs;
    rs.Open("select * from qryAssets where AssetID=1", connection);
    return SnapshotOf(rs);
}

// The editor's save as the data layer serves it: the check and the update in one
// transaction, the update only when nobody changed the asset since `read`.
RowChange Save(Connection& connection, const RowSnapshot& read, const QString& description)
{
    connection.BeginTrans();
    const RowChange change = AssetChangeSince(connection, "1", read);
    if (change == RowChange::None)
        connection.Execute("update Assets set AssetDescription=" + TextLiteral(description) +
                           " where AssetID=1");
    connection.CommitTrans();
    return change;
}

QString Description(Connection& connection)
{
    Recordset rs;
    rs.Open("select AssetDescription from Assets where AssetID=1", connection);
    return rs.Eof() ? QString() : rs.Fields(0).Value.stringValue();
}

} // namespace

void TestTwoUsers::aSaveFindsWhatOthersChangedOrDeleted()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    Connection other;
    other.Open(env.OpenDatabase(engine));
    g_Conn->Execute(
        "insert into Assets (AssetDescription,DateAcquired) values ('Desk','3/15/2021')");

    const RowSnapshot mine = ReadAsset(*g_Conn);
    const RowSnapshot theirs = ReadAsset(other);
    QVERIFY(Save(other, theirs, "Their desk") == RowChange::None);
    QVERIFY(Save(*g_Conn, mine, "My desk") == RowChange::Changed);
    QCOMPARE(Description(*g_Conn), QString("Their desk"));
    // Read again, the asset saves; a save that changes nothing takes nobody's place.
    QVERIFY(Save(*g_Conn, ReadAsset(*g_Conn), "My desk") == RowChange::None);
    const RowSnapshot again = ReadAsset(other);
    QVERIFY(Save(*g_Conn, ReadAsset(*g_Conn), "My desk") == RowChange::None);
    QVERIFY(Save(other, again, "Their desk") == RowChange::None);

    const RowSnapshot before = ReadAsset(*g_Conn);
    other.Execute("delete from Assets where AssetID=1");
    QVERIFY(Save(*g_Conn, before, "My desk") == RowChange::Gone);
    QCOMPARE(Description(other), QString());
}

void TestTwoUsers::aSaveWaitsForAnotherSaveOfTheSameAsset()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    Connection other;
    other.Open(env.OpenDatabase(engine));
    g_Conn->Execute("insert into Assets (AssetDescription) values ('Desk')");
    const RowSnapshot mine = ReadAsset(*g_Conn);
    const RowSnapshot theirs = ReadAsset(other);

    // Their save has checked the asset and is about to write when mine starts: mine waits for
    // theirs to end, and then finds their change instead of overwriting it.
    other.BeginTrans();
    QVERIFY(AssetChangeSince(other, "1", theirs) == RowChange::None);
    std::atomic<int> result{-1};
    std::thread save([&] {
        try {
            result = int(Save(*g_Conn, mine, "My desk"));
        } catch (const RuntimeError&) {
            result = -2;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    QString theirFailure;
    try {
        other.Execute("update Assets set AssetDescription='Their desk' where AssetID=1");
        other.CommitTrans();
    } catch (const RuntimeError& error) {
        theirFailure = error.Description();
    }
    save.join();
    QCOMPARE(theirFailure, QString());
    QCOMPARE(result.load(), int(RowChange::Changed));
    QCOMPARE(Description(other), QString("Their desk"));
}

void TestTwoUsers::twentyClientsAddingAtOnceLoseNothing()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    const QString inventory = env.OpenDatabase(engine);
    constexpr int kClients = 20;
    // Each client's connection is open before any of them adds. An addition may fail, when a
    // local file stays locked by the others longer than a writer waits; it must then be
    // reported and leave nothing behind.
    std::array<std::unique_ptr<Connection>, kClients> connections;
    for (auto& connection : connections) {
        connection = std::make_unique<Connection>();
        connection->Open(inventory);
    }
    std::array<int, kClients> added{};
    std::array<int, kClients> refused{};
    std::vector<std::thread> clients;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int client = 0; client < kClients; ++client) {
        clients.emplace_back([&, client] {
            while (std::chrono::steady_clock::now() < end) {
                try {
                    connections[client]->Execute(
                        QString("insert into Assets (AssetDescription,DateAcquired,"
                                "PurchasePrice) values ('client %1 asset %2','3/15/2021',"
                                "CCur('1.5'))")
                            .arg(client)
                            .arg(added[client] + 1));
                    ++added[client];
                } catch (const RuntimeError&) {
                    ++refused[client];
                }
            }
        });
    }
    for (std::thread& client : clients)
        client.join();
    long long total = 0;
    int failures = 0;
    // A server serves every client in turn; a local file's lock goes to whoever asks at the
    // right moment, so there a client may, on a busy machine, be refused every time.
    for (int client = 0; client < kClients; ++client) {
        QVERIFY(added[client] > 0 || engine == TestEngine::File);
        QCOMPARE(QueryCount(QString("select count(*) from Assets where AssetDescription like "
                                    "'client %1 asset %'")
                                .arg(client)),
                 added[client]);
        total += added[client];
        failures += refused[client];
    }
    QVERIFY(total > 0);
    QCOMPARE(QueryCount("select count(distinct AssetID) from Assets"), total);
    qInfo("%lld assets added by %d clients in 10 seconds, %d additions refused", total, kClients,
          failures);
}

QTEST_GUILESS_MAIN(TestTwoUsers)
#include "test_two_users.moc"
