#include "backup/BackupFixture.h"
#include "backup/windows/BackupCommands.h"
#include "backup/windows/RestoreDialog.h"
#include "editor/EditorFixture.h"
#include "mainwindow/CommandsFixture.h"
#include "platform/os/Clock.h"

#include <QFile>
#include <QFileDialog>
#include <QTreeWidget>

// The Restore window and Back Up…: a delete is undone by restoring the backup made before it,
// a file that holds no inventory is refused, and either way the user is asked first.
class TestRestore : public QObject
{
    Q_OBJECT

private slots:
    void restoringUndoesADelete_data();
    void restoringUndoesADelete();
    void filesThatHoldNoInventoryAreRefused_data();
    void filesThatHoldNoInventoryAreRefused();
};

namespace {

const QDateTime kNow(TestEnvironment::pinnedToday(), QTime(9, 14, 3));

// The Restore window as `act` leaves it; a file dialog it opens chooses `otherFile`.
void Restore(Form1& form, const std::function<void(RestoreDialog&)>& act,
             const QString& otherFile = QString())
{
    ModalRecorder driver([&](QWidget& window) {
        if (auto* dialog = qobject_cast<RestoreDialog*>(&window))
            act(*dialog);
        else
            ChooseFile(window, otherFile);
    });
    RestoreCommand(form, [&] { form.ListData(); });
}

} // namespace

// On a shared inventory, the backups are database files all the same, and a restore replaces
// the server's rows.
void TestRestore::restoringUndoesADelete_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("ownFile");
    QTest::addColumn<TestEngine>("engine");
    for (const TestEngine engine : {TestEngine::File, TestEngine::Server}) {
        const char* where = engine == TestEngine::File ? "" : ", shared";
        QTest::addRow("Delete All Records%s", where) << "Delete All" << false << engine;
        QTest::addRow("a lookup \"-\"%s", where) << "Delete vendor" << false << engine;
        QTest::addRow("Delete All Records, restored from Back Up…%s", where)
            << "Delete All" << true << engine;
    }
}

void TestRestore::restoringUndoesADelete()
{
    QFETCH(QString, command);
    QFETCH(bool, ownFile);
    QFETCH(TestEngine, engine);
    TestEnvironment env;
    if (engine == TestEngine::Server)
        env.KeepServerInventory();
    const auto content = [&] {
        return engine == TestEngine::File ? Content(env.workingDatabase()) : ContentDigest(*g_Conn);
    };
    // The day's first start backs up a minute before the command, whatever the real time.
    SetNowForTesting(kNow.addSecs(-60));
    auto form = StartMainWindow();
    SetNowForTesting(kNow);
    const LookupIds ids = AddLookupRows();
    for (int n = 0; n < 3; ++n) {
        const QString id = AddAsset(AssetRow(ids));
        AddMaintenance(id, "CCur('12.5')");
        AddDepreciation(id, "CCur('100')");
    }
    form->ListData();
    const QByteArray before = content();
    const QString own = env.root() + "/Tarnwick 2026-12-07.mdb";
    if (ownFile) {
        env.boxes.ExpectMessage(BoxAnswer::OK);
        ModalRecorder driver([&](QWidget& files) {
            QCOMPARE(qobject_cast<QFileDialog*>(&files)->selectedFiles().value(0),
                     QDir::homePath() + "/Tarnwick 2026-12-07.mdb");
            ChooseFile(files, own);
        });
        BackUpCommand(*form);
        QCOMPARE(env.boxes.prompts().value(0),
                 "The inventory (3 assets) was backed up to " + own + ".");
    }

    env.boxes.ExpectMessage(BoxAnswer::Yes);
    if (command == "Delete All") {
        Click(*form, "PushButton5");
    } else {
        OpenEditor(QString::number(LastKey("Assets", "AssetID")))->PushButton[13]->click();
        form->ListData();
    }
    QCOMPARE(form->ListView1->ItemCount(), 0);

    // No, the default answer, changes nothing; Yes restores.
    const QString chosen =
        ownFile ? "the file Tarnwick 2026-12-07.mdb of " +
                      QLocale().toString(QFileInfo(own).lastModified(), "d MMM yyyy HH:mm")
                : QString("the backup of 7 Dec 2026 09:14");
    const QString question =
        "Replace the current inventory (0 assets) with " + chosen + " (3 assets)?";
    for (const BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Yes}) {
        env.boxes.clear();
        env.boxes.ExpectMessage(answer);
        if (answer == BoxAnswer::Yes)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        Restore(
            *form,
            [&](RestoreDialog& dialog) {
                const QTreeWidgetItem* newest = dialog.lstBackups->topLevelItem(0);
                QCOMPARE(newest->text(0), QString("7 Dec 2026 09:14"));
                QCOMPARE(newest->text(1), "before " + command);
                QCOMPARE(newest->text(2), QString("3"));
                QVERIFY(newest->text(3).endsWith(" kB"));
                // Enter in the list restores the selected backup, asking once.
                if (ownFile)
                    QTest::mouseClick(dialog.cmdOtherFile, Qt::LeftButton);
                else
                    QTest::keyClick(dialog.lstBackups, Qt::Key_Return);
            },
            own);
        QCOMPARE(env.boxes.shown().value(0).request.prompt, question);
        QCOMPARE(env.boxes.shown().value(0).request.defaultButton, BoxDefault::Second);
        QCOMPARE(form->ListView1->ItemCount(), answer == BoxAnswer::Yes ? 3 : 0);
    }
    QCOMPARE(env.boxes.prompts().value(1),
             "The inventory now holds the 3 assets of " + chosen +
                 ". What it held before is kept in the backup 2026-12-07 09.14.03 before "
                 "Restore.");
    QCOMPARE(content(), before);
}

void TestRestore::filesThatHoldNoInventoryAreRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text") << "letter.txt"
                          << "it is not a database.";
    QTest::newRow("truncated copy") << "truncated.mdb"
                                    << "it is damaged (";
    QTest::newRow("another program's") << "notes.db"
                                       << "it has no table ";
    QTest::newRow("without qryAssets") << "noquery.mdb"
                                       << "it has no query qryAssets";
    QTest::newRow("without a column") << "nocolumn.mdb"
                                      << "its table Maintenance has no column MaintenanceCost";
    QTest::newRow("the inventory in use") << ""
                                          << "it is the inventory in use.";
}

void TestRestore::filesThatHoldNoInventoryAreRefused()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    TestEnvironment env;
    auto form = StartMainWindow();
    const QString path = file.isEmpty() ? env.workingDatabase() : env.root() + "/" + file;
    if (file.endsWith(".mdb"))
        WriteBackup(path);
    QFile bytes(path);
    if (file == "letter.txt" && bytes.open(QIODevice::WriteOnly))
        bytes.write("Dear supplier, this is no database.\n");
    bytes.close();
    if (file == "truncated.mdb")
        bytes.resize(bytes.size() / 2);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 file == "notes.db"       ? "create table Notes (Note text)"
                 : file == "noquery.mdb"  ? "drop view qryAssets"
                 : file == "nocolumn.mdb" ? "alter table Maintenance drop column MaintenanceCost"
                                          : "",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QStringList backups = BackupFiles();
    const QByteArray working = Digest(env.workingDatabase());

    env.boxes.ExpectMessage(BoxAnswer::OK);
    Restore(
        *form,
        [](RestoreDialog& dialog) { QTest::mouseClick(dialog.cmdOtherFile, Qt::LeftButton); },
        path);
    const QString refusal = env.boxes.prompts().value(0);
    QVERIFY2(refusal.startsWith(QFileInfo(path).fileName() + " cannot be restored: ") &&
                 refusal.contains(reason) && refusal.endsWith("\n\nThe inventory was not changed."),
             qPrintable(refusal));
    QCOMPARE(env.boxes.shown().size(), 1);
    QCOMPARE(Digest(env.workingDatabase()), working);
    QCOMPARE(BackupFiles(), backups);
}

QTEST_MAIN(TestRestore)
#include "test_restore.moc"
