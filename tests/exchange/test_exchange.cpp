#include "backup/BackupFixture.h"
#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"

#include "data/SqlLiterals.h"
#include "exchange/Csv.h"
#include "exchange/Export.h"
#include "exchange/ImportSummary.h"
#include "mainwindow/ExchangeCommands.h"
#include "platform/conv/Conv.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <csignal>
#include <sys/resource.h>

// Export to workbooks and CSV files and import of CSV files, driven through the main window's
// commands against real databases.
namespace {

// Drives the windows an export or an import opens: the file dialog chooses `path`, and the
// import summary is read and, with `import`, left with Import.
struct Windows
{
    explicit Windows(const QString& path, bool import = false) : path(path), import(import) {}
    QString path;
    bool import;
    QString proposed, summary;
    int summaries = 0;
    bool importable = false;
    ModalRecorder recorder{[this](QWidget& window) {
        if (auto* files = qobject_cast<QFileDialog*>(&window)) {
            proposed = files->selectedFiles().value(0);
            ChooseFile(window, path);
            return;
        }
        auto& dialog = dynamic_cast<ImportSummary&>(window);
        ++summaries;
        summary = dialog.Counts->text() + "\n" + dialog.Details->toPlainText();
        importable = dialog.ImportButton->isEnabled();
        if (import)
            dialog.ImportButton->click();
    }};
};

// Every column of qryAssets but the key, row by row in the order of the descriptions, as text.
QStringList AssetTexts()
{
    Recordset rows;
    rows.Open("select * from qryAssets order by AssetDescription, BarcodeNumber", *g_Conn);
    QStringList texts;
    for (; !rows.Eof(); rows.MoveNext()) {
        QStringList cells;
        for (int field = 1; field < rows.FieldCount(); ++field)
            cells << TextOf(rows.Fields(field).Value);
        texts << cells.join(" | ");
    }
    return texts;
}

// Assets with hard values: texts a spreadsheet would run, hostile and long texts, money with
// four decimals and below zero, dates with and without a time.
void AddVariedAssets(const LookupIds& ids)
{
    QStringList texts = HostileTexts();
    texts << "=cmd|' /C calc'!A0"
          << "-5"
          << "@SUM(A1)"
          << "'=already quoted"
          << "+1"
          << "José";
    for (int n = 0; n < texts.size(); ++n) {
        AssetRow row(ids);
        row.description = TextLiteral(QString("Asset %1 ").arg(n, 2, 10, QChar('0')) + texts[n]);
        row.comments = TextLiteral(texts[n]);
        row.purchase = QString("CCur('%1')").arg(n % 2 ? "1234.5678" : "-5");
        row.acquired = n % 3 ? "'2021-03-15'" : "'2021-03-15 14:30:05'";
        row.next = n % 2 ? "null" : "'2026-12-01'";
        row.life = "2.55555";
        row.vendor = n % 2 ? ids.acme : ids.bolt;
        const QString id = AddAsset(row);
        // Some barcodes a spreadsheet would take for a formula.
        RawSql(QString("update Assets set BarcodeNumber='%3B%1', ModelNumber=%2 where AssetID=%1")
                   .arg(id, TextLiteral(texts[n]), n % 4 ? "" : "-"));
    }
}

// What openpyxl reads from a workbook, as JSON: per sheet its rows (values with their types),
// number formats of the second row, frozen cell, filter range and column widths.
QJsonObject ReadWorkbook(const QString& path)
{
    const char* script = R"(
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
out = {}
for sheet in book.worksheets:
    rows = [[[type(c.value).__name__, str(c.value)] for c in row] for row in sheet.iter_rows()]
    out[sheet.title] = {
        "rows": rows,
        "formats": [c.number_format for c in sheet[2]] if sheet.max_row > 1 else [],
        "freeze": sheet.freeze_panes, "filter": sheet.auto_filter.ref,
        "widths": [sheet.column_dimensions[openpyxl.utils.get_column_letter(n + 1)].width
                   for n in range(sheet.max_column)]}
print(json.dumps({"sheets": book.sheetnames, "book": out}))
)";
    // Debian's python, which python3-openpyxl installs for, whatever else is on the path.
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        qWarning("%s", python.readAllStandardError().constData());
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void csvRoundTripGivesBackTheAssetsAndASecondImportUpdatesThem();
    void workbookHoldsTheShownRowsInTheirOrderWithTypedCellsAndTheirHistories();
    void badFilesAreRefusedAndBadLinesListedWithNothingWritten();
    void anExportThatCannotBeWrittenOrIsCancelledLeavesNoFile();
};

void TestExchange::csvRoundTripGivesBackTheAssetsAndASecondImportUpdatesThem()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddVariedAssets(AddLookupRows());
    const QString assetId = QueryText("select min(AssetID) from Assets");
    AddMaintenance(assetId, "25");
    env.CloseDatabase();
    auto form = StartMainWindow();
    const QStringList before = AssetTexts();
    const QString csv = env.root() + "/assets.csv";
    Windows windows(csv, true);
    ExportAssetsCommand(*form, *form->ListView1);
    QCOMPARE(windows.proposed, QDir::homePath() + "/Assets 2026-12-07.xlsx");
    QVERIFY(QFile::exists(csv));
    const QString& summary = windows.summary;
    auto import = [&] { ImportAssetsCommand(*form, [&] { form->ListData(); }); };

    // Into the same inventory: each line updates the asset with its barcode, which keeps its
    // key and so its histories.
    const QString owners = "select group_concat(AssetID) from Maintenance";
    const QString ownersBefore = QueryText(owners);
    import();
    QVERIFY2(summary.startsWith("assets.csv: 0 assets to add, 13 to update, 0 new lookup values."),
             qPrintable(summary));
    QVERIFY(summary.contains("line 3: asset 2, Barcode Number 'B2'"));
    QCOMPARE(AssetTexts(), before);
    QCOMPARE(QueryText(owners), ownersBefore);

    // Into an empty inventory: the same assets and lookups. What the import replaced is kept
    // in a backup made before it.
    RawSql("delete from Assets; delete from Employees; delete from Vendors; delete from Status;"
           "delete from Departments; delete from [Asset Categories]");
    const QByteArray emptied = Content(env.workingDatabase());
    import();
    const QStringList backups = BackupFiles().filter(" before Import");
    QVERIFY(std::any_of(backups.begin(), backups.end(), [&](const QString& name) {
        return Content(BackupFolder() + "/" + name) == emptied;
    }));
    QVERIFY2(summary.startsWith("assets.csv: 13 assets to add, 0 to update, 6 new lookup values."),
             qPrintable(summary));
    QCOMPARE(AssetTexts(), before);
    QCOMPARE(form->ListView1->ItemCount(), 13);
    QVERIFY(env.boxes.shown().isEmpty());
}

void TestExchange::workbookHoldsTheShownRowsInTheirOrderWithTypedCellsAndTheirHistories()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddVariedAssets(AddLookupRows());
    for (const char* asset : {"2", "4", "5"}) {
        AddMaintenance(asset, "25");
        AddDepreciation(asset, "100");
    }
    env.CloseDatabase();
    auto form = StartMainWindow();
    ListView& list = *form->ListView1;
    // The Acme assets, by description from the last.
    list.SetFindText("acme");
    ClickHeader(list, 7);
    ClickHeader(list, 7);
    const QStringList shown = ColumnTexts(list, 0);
    QCOMPARE(shown.size(), 6);
    const QString path = env.root() + "/Assets.xlsx";
    {
        Windows windows(path);
        ExportAssetsCommand(*form, list);
    }
    const QJsonObject read = ReadWorkbook(path);
    QCOMPARE(read["sheets"].toArray(), QJsonArray({"Assets", "Maintenance", "Depreciation"}));
    const QJsonObject assets = read["book"]["Assets"].toObject();
    const QJsonArray rows = assets["rows"].toArray();
    QStringList header, ids;
    for (const QJsonValue& cell : rows[0].toArray())
        header << cell[1].toString();
    QCOMPARE(header.size(), 19);
    QCOMPARE(header.mid(0, 3), QStringList({"ID", "Employee", "Vendor Name"}));
    for (qsizetype r = 1; r < rows.size(); ++r)
        ids << rows[r][0][1].toString();
    QCOMPARE(ids, shown);
    QCOMPARE(assets["freeze"].toString(), QString("A2"));
    QCOMPARE(assets["filter"].toString(), QString("A1:S7"));
    // The description column is as wide as its texts (up to a limit), the id column narrow.
    QVERIFY(assets["widths"][7].toDouble() > 30 && assets["widths"][0].toDouble() < 10);

    // Typed cells: whole numbers, dates, money with the currency format, numbers, text.
    const QJsonArray first = rows[1].toArray();
    auto typeOf = [&](int column) { return first[column][0].toString(); };
    QCOMPARE(typeOf(0), QString("int"));
    QCOMPARE(typeOf(8), QString("datetime"));
    QCOMPARE(typeOf(13), QString("float"));
    QVERIFY(assets["formats"][13].toString().contains("$#,##0.00"));
    QCOMPARE(first[13][1].toString(), QString("1234.5678"));
    QCOMPARE(first[16][1].toString(), QString("2.55555"));
    QCOMPARE(typeOf(7), QString("str"));
    QCOMPARE(typeOf(9), QString("NoneType"));
    // A text that reads like a formula is a text cell, shown as it is and never run.
    bool formulaSeen = false;
    for (const QJsonValue& row : rows)
        formulaSeen |= row[10][1].toString() == "=cmd|' /C calc'!A0" && row[10][0] == "str";
    QVERIFY(formulaSeen);

    // Histories of the exported assets only, asset by asset in the order of the sheet.
    for (const char* sheet : {"Maintenance", "Depreciation"}) {
        const QJsonArray entries = read["book"][sheet]["rows"].toArray();
        QStringList owners;
        for (qsizetype r = 1; r < entries.size(); ++r)
            owners << entries[r][0][1].toString();
        QStringList expected;
        for (const QString& id : shown)
            if (id == "2" || id == "4")
                expected << id;
        QCOMPARE(owners, expected);
        QCOMPARE(entries[1][1][0].toString(), QString("datetime"));
    }
}

void TestExchange::badFilesAreRefusedAndBadLinesListedWithNothingWritten()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddLookupRows();
    env.CloseDatabase();
    auto form = StartMainWindow();
    const QString path = env.root() + "/in.csv";
    Windows windows(path);
    const QString& summary = windows.summary;
    auto import = [&] { ImportAssetsCommand(*form, [&] { form->ListData(); }); };
    const QByteArray bom = "\xEF\xBB\xBF";
    const struct
    {
        QByteArray file;
        QString said; // in the message box, or else in the summary
        bool box;
    } cases[] = {
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe\x01", 19), "line 1 is not UTF-8 text",
         true},
        {"", "it is empty", true},
        {QByteArray(5 << 20, 'x'), "line 1 is longer than 4 MB", true},
        {"Model Number,Barcode Number\r\nM1,B1\r\n", "names no Description column", true},
        {"Description\r\n\"never closed\r\n", "a quote opened on line 2 is never closed", true},
        {bom +
             "Description;Purchase Price;Date Acquired;Depreciable Life;Barcode Number;Vendor "
             "Name;Colour\r\n"
             "Good;12.5;2021-03-15;5;X1;acme;red\r\n"
             ";1;;;;;\r\n"
             "Twelve;twelve;;;;;\r\n"
             "Big;1e308;;;;;\r\n"
             "Feb;;31/02/2021;;;;\r\n" +
             QByteArray("Nul\0l;;;;;;\r\n", 13) +
             "Twice;;;;X1;;\r\n"
             "\"Two\nlines\";;;;;;;extra\r\n"
             "Life;;;1e999;;;\r\n",
         "in.csv: 1 asset to add, 0 to update, 0 new lookup values.\n\n8 problems stop the import; "
         "nothing has been written.",
         false},
    };
    const QByteArray digest = Digest(env.workingDatabase());
    for (const auto& c : cases) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.file);
        file.close();
        env.boxes.clear();
        windows.summaries = 0;
        if (c.box)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        import();
        const QString said = c.box ? env.boxes.prompts().value(0) : summary;
        QVERIFY2(said.contains(c.said), qPrintable(said));
        QCOMPARE(windows.summaries, c.box ? 0 : 1);
        QCOMPARE(Digest(env.workingDatabase()), digest);
    }
    QVERIFY(!windows.importable);
    for (const char* problem :
         {"line 3, Description: is empty; every asset needs a description",
          "line 4, Purchase Price: 'twelve' is no amount",
          "line 5, Purchase Price: '1e308' is too large for an amount",
          "line 6, Date Acquired: '31/02/2021' is no date",
          "line 7, Description: holds a NUL character",
          "line 8, Barcode Number: 'X1' is on line 2 too",
          "line 9 holds 8 fields, but the first line names 7 columns",
          "line 11, Depreciable Life: '1e999' is too large", "Columns not imported:\n    Colour"})
        QVERIFY2(summary.contains(problem), qPrintable(problem + QString("\n") + summary));

    // Tab separated, the employee in two columns: Cancel writes nothing, Import all of it.
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Description\tFirst Name\tLast Name\tVendor Name\r\nDesk\tann\to'brien\tNew "
               "vendor\r\nChair\tEve\tStone\tnew VENDOR\r\n");
    file.close();
    import();
    QCOMPARE(Digest(env.workingDatabase()), digest);
    QVERIFY2(summary.startsWith("in.csv: 2 assets to add, 0 to update, 2 new lookup values."),
             qPrintable(summary));
    // All or nothing: an asset the database refuses takes the new lookup values with it.
    Refuse("insert", "Assets");
    const QByteArray refusing = Digest(env.workingDatabase());
    env.boxes.ExpectMessage(BoxAnswer::OK);
    windows.import = true;
    import();
    QVERIFY(env.boxes.prompts().last().contains("Form1.ImportAssets at line 106"));
    QCOMPARE(Digest(env.workingDatabase()), refusing);
    Refuse("insert", "Assets", false);
    QVERIFY(summary.contains("Employee 'Stone, Eve'") &&
            summary.contains("Vendor Name 'New vendor'"));
    import();
    QCOMPARE(ColumnTexts(*form->ListView1, 1), QStringList({"O'Brien, Ann", "Stone, Eve"}));
    QCOMPARE(ColumnTexts(*form->ListView1, 2), QStringList({"New vendor", "New vendor"}));
}

void TestExchange::anExportThatCannotBeWrittenOrIsCancelledLeavesNoFile()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AddAsset(AssetRow(ids));
    RawSql("insert into Assets (AssetDescription, Comments) select 'Copy ' || AssetID, "
           "hex(randomblob(100)) from Assets, (select 1 from Assets limit 1) "
           "join (with recursive n(i) as (select 1 union all select i + 1 from n where i < 2500) "
           "select i from n)");
    env.CloseDatabase();
    auto form = StartMainWindow();
    ListView& list = *form->ListView1;
    const QDir folder(env.root() + "/out");
    QVERIFY(folder.mkpath("."));
    const QStringList before = folder.entryList(QDir::Files | QDir::Hidden);

    // A folder nothing can be written to, and a disk that fills up on the way.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    for (const QString& path : {QString("/proc/Assets.xlsx"), folder.filePath("Assets.xlsx"),
                                folder.filePath("Assets.csv")}) {
        rlimit full = limit;
        if (!path.startsWith("/proc"))
            full.rlim_cur = 64 << 10;
        setrlimit(RLIMIT_FSIZE, &full);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Windows windows(path);
        ExportAssetsCommand(*form, list);
        setrlimit(RLIMIT_FSIZE, &limit);
        QVERIFY2(
            env.boxes.prompts().last().startsWith("The assets could not be exported to " + path),
            qPrintable(env.boxes.prompts().last()));
        QVERIFY(!QFile::exists(path));
    }
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), before);

    // Cancelled half-way, also while a workbook's sheets are still being written: no file
    // either.
    const QStringList keys = ColumnTexts(list, 0);
    for (const QString& path : {folder.filePath("Assets.csv"), folder.filePath("Assets.xlsx")}) {
        int asked = 0;
        const ExportResult result =
            ExportAssets(path, ExportFormatOf(path), keys, [&](int done, int total) {
                ++asked;
                return !(done > 0 && total == 2501);
            });
        QVERIFY(result.cancelled && asked == 1);
    }
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), before);

    // An asset deleted since the list was filled is left out; the others keep their order.
    RawSql("delete from Assets where AssetID = " + keys[1]);
    QFile csv(folder.filePath("Assets.csv"));
    QVERIFY(!ExportAssets(csv.fileName(), ExportFormat::Csv, keys.mid(0, 4), {}).cancelled);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    CsvReader reader(csv);
    QStringList exported;
    for (CsvReader::Record record; reader.Next(record);)
        exported << record.fields[0];
    QCOMPARE(exported, QStringList({"ID", keys[0], keys[2], keys[3]}));
}

QTEST_MAIN(TestExchange)
#include "test_exchange.moc"
