#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"

#include "backup/BackupNames.h"
#include "backup/Backups.h"
#include "data/Provisioning.h"
#include "exchange/ImportSummary.h"
#include "mainwindow/MainMenu.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/os/Clock.h"
#include "platform/report/ReportPreview.h"
#include "records/Form2.h"
#include "shared/InventoryDialog.h"
#include "shared/PasswordDialog.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

// The windows of a shared inventory on the test server: every kind of command on it, two
// people saving one asset, choosing an inventory in its window, opening it at start-up with
// a password or with its server stopped, and moving the local inventory there.
class TestSharedWindows : public QObject
{
    Q_OBJECT

private slots:
    void everyKindOfCommandWorksOnASharedInventory();
    void aSecondSaveKeepsWhatSomeoneElseSaved_data() { EngineRows(); }
    void aSecondSaveKeepsWhatSomeoneElseSaved();
    void theWindowSaysWhatFailedInPlainWords_data();
    void theWindowSaysWhatFailedInPlainWords();
    void startUpAsksForThePasswordAndSurvivesAStoppedServer();
    void theLocalInventoryMovesToAnEmptyDatabaseOnly();
};

namespace {

void Trigger(Form1& form, const char* name)
{
    form.Menu->findChild<QAction*>(name)->trigger();
}

// Fills the inventory window with `address` and `password`.
void Fill(InventoryDialog& dialog, const ServerAddress& address, const QString& password)
{
    dialog.txtServer->setText(address.host);
    dialog.txtPort->setValue(address.port);
    dialog.txtDatabase->setText(address.database);
    dialog.txtUser->setText(address.user);
    dialog.txtPassword->setText(password);
    dialog.cboTlsMode->setCurrentIndex(dialog.cboTlsMode->findData(address.tlsMode));
}

QString SharedTitle(const QString& database, const QString& host = "this computer")
{
    return "Tarnwick — shared: " + database + "@" + host;
}

} // namespace

void TestSharedWindows::everyKindOfCommandWorksOnASharedInventory()
{
    TestEnvironment env;
    const QString database = env.KeepServerInventory();
    // A minute between the commands that back up, so that their backups have names apart.
    QDateTime now(TestEnvironment::pinnedToday(), QTime(8, 0));
    const auto minuteLater = [&] { SetNowForTesting(now = now.addSecs(60)); };
    minuteLater();
    auto form = StartMainWindow();
    ListView& list = *form->ListView1;
    QCOMPARE(form->windowTitle(), SharedTitle(database));
    Click(*form, "PushButton4");
    QCOMPARE(list.ItemCount(), 3);
    AddLookupRows();

    // Edit: a vendor added and removed again, a maintenance entry, and the save.
    list.SelectItem(0);
    minuteLater();
    env.boxes.ExpectInput("Nordic Tools");
    env.boxes.ExpectMessage(BoxAnswer::Yes);
    ModalRecorder editing([&](QWidget& window) {
        if (auto* entry = qobject_cast<Form2*>(&window)) {
            entry->txtDescription->setText("Belt");
            entry->txtPerformedBy->setText("Bob");
            entry->txtCost->setText("12.5");
            entry->PushButton2->click();
            return;
        }
        auto& editor = dynamic_cast<Form4&>(window);
        editor.PushButton[12]->click();
        Choose(editor.cboVendors, "Nordic Tools");
        editor.PushButton[13]->click();
        QCOMPARE(editor.cboVendors->findText("Nordic Tools"), -1);
        editor.PushButton[4]->click();
        editor.txtDescription->setPlainText("Shared printer");
        editor.PushButton[1]->click();
    });
    Click(*form, "PushButton1");
    QCOMPARE(ColumnTexts(list, 7).value(0), QString("Shared printer"));
    QCOMPARE(QueryText("select MaintenanceDescription from Maintenance"), QString("Belt"));

    // Add, delete, report, export and import again, the due view.
    ModalRecorder adding([&](QWidget& window) {
        FillRequired(dynamic_cast<Form4&>(window));
        dynamic_cast<Form4&>(window).PushButton[1]->click();
    });
    Click(*form, "PushButton2");
    QCOMPARE(list.ItemCount(), 4);
    env.boxes.ExpectMessage(BoxAnswer::Yes);
    Click(*form, "PushButton3");
    QCOMPARE(list.ItemCount(), 3);
    ModalRecorder previews([](QWidget& window) { QVERIFY(qobject_cast<ReportPreview*>(&window)); });
    Click(*form, "PushButton7");
    QCOMPARE(previews.shown, 1);
    const QString csv = env.root() + "/assets.csv";
    QString summary;
    ModalRecorder exchange([&](QWidget& window) {
        if (auto* imported = qobject_cast<ImportSummary*>(&window)) {
            summary = imported->Counts->text();
            imported->ImportButton->click();
        } else {
            ChooseFile(window, csv);
        }
    });
    Trigger(*form, "actionExport");
    minuteLater();
    Trigger(*form, "actionImport");
    QVERIFY2(summary.contains("0 assets to add, 3 to update"), qPrintable(summary));
    // Someone else's change shows at the next rebuild.
    g_Conn->Execute("update Assets set NextSchedMaint='12/1/2026' where AssetID=1");
    Trigger(*form, "actionRefresh");
    Trigger(*form, "actionDue");
    QCOMPARE(ColumnTexts(list, 0), QStringList({"1"}));
    Trigger(*form, "actionDue");
    minuteLater();
    env.boxes.ExpectMessage(BoxAnswer::Yes);
    Click(*form, "PushButton5");
    QCOMPARE(list.ItemCount(), 0);

    // Its backups lie apart from the local file's, as database files of the program's own; the
    // day's backup is made when the program closes.
    const QString folder = BackupFolder();
    QCOMPARE(folder, DataFolder() + "/Backups/" + database +
                         "@this computer:" + QString::number(TestServerAddress(database).port));
    minuteLater();
    form->close();
    QStringList causes;
    for (const BackupEntry& backup : ListBackups(folder)) {
        Connection file;
        file.Open(FileConnectionString(backup.path));
        Recordset count;
        count.Open("select count(*) from Maintenance", file);
        causes.prepend(backup.cause + " " + TextOf(count.Fields(0).Value));
    }
    QCOMPARE(causes, QStringList({"before Delete vendor 0", "before Import 1",
                                  "before Delete All 1", "daily 0"}));
}

// Theirs is saved by another copy of the program, with a connection of its own; mine comes
// second and must neither overwrite theirs nor lose what I typed.
void TestSharedWindows::aSecondSaveKeepsWhatSomeoneElseSaved()
{
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    const QString inventory = env.OpenDatabase(engine);
    const QString id = AddAsset(AssetRow(AddLookupRows()));
    auto mine = OpenEditor(id);
    auto own = std::move(g_Conn);
    g_Conn = std::make_unique<Connection>();
    g_Conn->Open(inventory);
    auto theirs = OpenEditor(id);
    theirs->txtModelNo->setText("Their model");
    theirs->PushButton[1]->click();
    QCOMPARE(theirs->result(), int(QDialog::Accepted));
    g_Conn.swap(own);

    mine->txtSerialNo->setText("My serial");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    mine->PushButton[1]->click();
    QCOMPARE(env.boxes.prompts(),
             QStringList{"Someone else changed this asset after you opened it. Your changes "
                         "were not saved. Cancel and open it again to see theirs."});
    QVERIFY(mine->isVisible() && mine->result() != QDialog::Accepted);
    QCOMPARE(mine->txtSerialNo->text(), QString("My serial"));
    QCOMPARE(mine->txtModelNo->text(), QString("M1"));
    QCOMPARE(Stored("ModelNumber", id) + Stored("SerialNumber", id), QString("Their modelS1"));

    // Opened again, it shows theirs and saves mine; deleted by them meanwhile, it is not saved
    // as if it were there.
    mine = OpenEditor(id);
    mine->txtSerialNo->setText("My serial");
    mine->PushButton[1]->click();
    QCOMPARE(Stored("ModelNumber", id) + Stored("SerialNumber", id),
             QString("Their modelMy serial"));
    mine = OpenEditor(id);
    mine->txtDescription->setPlainText("Typed again");
    own->Execute("delete from Assets where AssetID=" + id);
    env.boxes.clear();
    env.boxes.ExpectMessage(BoxAnswer::OK);
    mine->PushButton[1]->click();
    QCOMPARE(env.boxes.prompts(), QStringList{"Please add new record first."});
    QVERIFY(mine->isVisible() && mine->txtDescription->toPlainText() == "Typed again");
    QCOMPARE(QueryCount("select count(*) from Assets"), 0LL);
}

void TestSharedWindows::theWindowSaysWhatFailedInPlainWords_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QString>("change"); // of the test server's address: "field=value"
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("report");
    QTest::newRow("works") << true << ""
                           << "tarnwick-test"
                           << "Connected. The database %1 is empty";
    QTest::newRow("wrong password") << true << ""
                                    << "wrong"
                                    << "The server refused the password for user tarnwick.";
    QTest::newRow("no password") << true << ""
                                 << ""
                                 << "asks for the password of user tarnwick, and none was given.";
    QTest::newRow("TLS required") << true << "tls=disable"
                                  << "tarnwick-test"
                                  << "accepts only encrypted connections";
    QTest::newRow("no database") << false << "database=nothing_here"
                                 << ""
                                 << "There is no database nothing_here on the server";
    QTest::newRow("no user") << false << "user=nobody_here"
                             << ""
                             << "knows no user nobody_here";
    QTest::newRow("no server") << true << "port=1"
                               << ""
                               << "No server answers at 127.0.0.1:1.";
    QTest::newRow("no socket") << false << "host=/nonexistent"
                               << ""
                               << "No server answers at /nonexistent (port ";
}

// Test tells what it finds; Open says the same when it fails and stays open, and otherwise
// opens the inventory and keeps it without its password.
void TestSharedWindows::theWindowSaysWhatFailedInPlainWords()
{
    QFETCH(bool, tcp);
    QFETCH(QString, change);
    QFETCH(QString, password);
    QFETCH(QString, report);
    TestEnvironment env;
    auto form = StartMainWindow();
    const QString database = AddressOf(env.NewServerDatabase()).database;
    ServerAddress address = TestServerAddress(database, tcp);
    const QString value = change.section('=', 1);
    if (change.startsWith("tls"))
        address.tlsMode = value;
    else if (change.startsWith("database"))
        address.database = value;
    else if (change.startsWith("user"))
        address.user = value;
    else if (change.startsWith("port"))
        address.port = value.toInt();
    else if (change.startsWith("host"))
        address.host = value;
    if (report.contains("%1"))
        report = report.arg(database);
    QStringList results;
    bool passwordAsked = false;
    ModalRecorder driver([&](QWidget& window) {
        auto& dialog = dynamic_cast<InventoryDialog&>(window);
        Fill(dialog, address, password);
        for (QPushButton* button : {dialog.cmdTest, dialog.cmdAction}) {
            dialog.lblResult->clear();
            button->click();
            results << dialog.lblResult->text();
        }
        passwordAsked = dialog.focusWidget() == dialog.txtPassword;
    });
    Trigger(*form, "actionOpenShared");
    QVERIFY2(results.value(0).contains(report), qPrintable(results.value(0)));
    QCOMPARE(passwordAsked, report.contains("password"));
    if (report.startsWith("Connected")) {
        QCOMPARE(results.value(1), QString());
        QCOMPARE(form->windowTitle(), SharedTitle(database, "127.0.0.1"));
        QCOMPARE(KeptInventory(), InventoryUri(address));
        QVERIFY(g_Conn->IsShared());
        return;
    }
    QCOMPARE(results.value(1), results.value(0));
    QCOMPARE(form->windowTitle(), QString("Tarnwick"));
    QVERIFY(!g_Conn->IsShared());
}

void TestSharedWindows::startUpAsksForThePasswordAndSurvivesAStoppedServer()
{
    TestEnvironment env;
    // A password asked for until the server takes it, and kept nowhere.
    const QString database = AddressOf(env.NewServerDatabase()).database;
    const ServerAddress tcp = TestServerAddress(database, true);
    KeepInventory(InventoryUri(tcp));
    QStringList reasons;
    ModalRecorder passwords([&](QWidget& window) {
        auto& dialog = dynamic_cast<PasswordDialog&>(window);
        reasons << dialog.lblPrompt->text().section('\n', 0, 0);
        dialog.txtPassword->setText(reasons.size() == 1 ? "wrong" : "tarnwick-test");
        dialog.cmdOK->click();
    });
    auto form = StartMainWindow();
    QCOMPARE(reasons, QStringList({QString("The server at 127.0.0.1:%1 asks for the password of "
                                           "user tarnwick, and none was given.")
                                       .arg(tcp.port),
                                   "The server refused the password for user tarnwick."}));
    QCOMPARE(form->windowTitle(), SharedTitle(database, "127.0.0.1"));
    QVERIFY(g_Conn->IsShared());
    QCOMPARE(KeptInventory(), InventoryUri(tcp));

    // A stopped server: the start-up's reports and an empty list; then every command that
    // needs the server is reported and changes nothing, and the next one connects again.
    OwnTestServer server;
    const QString uri =
        InventoryUri({AddressOf(server.ConnectionString()).host,
                      AddressOf(server.ConnectionString()).port, "postgres", "tarnwick", ""});
    KeepInventory(uri);
    server.Control("halt");
    const QString noServer = "No server answers at " + server.Place() + ".";
    env.boxes.clear();
    env.boxes.ExpectMessage(BoxAnswer::OK);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    form = StartMainWindow();
    QVERIFY(env.boxes.prompts().value(0).startsWith(noServer + "\r\n" +
                                                    CommandLocation("Form_Load", 114)));
    QVERIFY(env.boxes.prompts().value(1).contains(CommandLocation("ListData", 102)));
    QCOMPARE(form->ListView1->ItemCount(), 0);
    QCOMPARE(form->windowTitle(), SharedTitle("postgres"));
    server.Control("resume");
    Trigger(*form, "actionRefresh");
    g_Conn->Execute("insert into Assets (AssetDescription) values ('Desk')");
    Trigger(*form, "actionRefresh");
    QCOMPARE(form->ListView1->ItemCount(), 1);

    server.Control("halt");
    env.boxes.clear();
    env.boxes.ExpectMessage(BoxAnswer::Yes);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    env.boxes.ExpectMessage(BoxAnswer::OK);
    form->ListView1->SelectItem(0);
    Click(*form, "PushButton3");
    QVERIFY(env.boxes.prompts().value(1).startsWith(noServer));
    server.Control("resume");
    Trigger(*form, "actionRefresh");
    QCOMPARE(form->ListView1->ItemCount(), 1);
}

void TestSharedWindows::theLocalInventoryMovesToAnEmptyDatabaseOnly()
{
    TestEnvironment env;
    auto form = StartMainWindow();
    const QString id = AddAsset(AssetRow(AddLookupRows()));
    AddMaintenance(id, "CCur('12.5')");
    const QByteArray local = ContentDigest(*g_Conn);
    const QString database = AddressOf(env.NewServerDatabase()).database;
    QString intro;
    QString result;
    ModalRecorder driver([&](QWidget& window) {
        auto& dialog = dynamic_cast<InventoryDialog&>(window);
        intro = dialog.findChild<QLabel*>("lblIntro")->text();
        Fill(dialog, TestServerAddress(database), "");
        dialog.cmdAction->click();
        result = dialog.lblResult->text();
    });
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Trigger(*form, "actionCopyToServer");
    QVERIFY2(intro.contains("the local inventory (1 asset)"), qPrintable(intro));
    QCOMPARE(env.boxes.prompts(),
             QStringList{"The local inventory (1 asset) was copied to " + database +
                         "@this computer, which is open now. The local inventory stays as it "
                         "was: File → Use Local Inventory opens it again."});
    QCOMPARE(form->windowTitle(), SharedTitle(database));
    QCOMPARE(ContentDigest(*g_Conn), local);
    QCOMPARE(form->ListView1->ItemCount(), 1);

    // Into a database that holds an inventory already: refused, and nothing changes.
    g_Conn->Execute("insert into Status (Status) values ('Shared only')");
    const QByteArray shared = ContentDigest(*g_Conn);
    Trigger(*form, "actionCopyToServer");
    QVERIFY2(result.contains("is not empty"), qPrintable(result));
    QCOMPARE(ContentDigest(*g_Conn), shared);

    // Use Local Inventory goes back to the file, as it was.
    Trigger(*form, "actionUseLocal");
    QCOMPARE(form->windowTitle(), QString("Tarnwick"));
    QCOMPARE(ContentDigest(*g_Conn), local);
    QCOMPARE(KeptInventory(), QString());
}

QTEST_MAIN(TestSharedWindows)
#include "test_shared.moc"
