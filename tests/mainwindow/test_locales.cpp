#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"
#include "records/Form2.h"
#include "records/Form3.h"
#include "records/RecordFixture.h"

// Nothing changes that the user did not change, in the locale a desktop sets through LC_ALL
// (ctest runs this under locales whose dates, digits and money differ): every asset of a
// varied set saved unchanged in the editor, and every history entry in its dialog, leaves
// every row of every table as it was, bit for bit; and the example data keeps its dates.
class TestLocales : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void unchangedSavesLeaveEveryRowAsItWas();
    void exampleDataStoresThreeAssetsWithTheirDates();
};

namespace {

// Every row of every table, each value with its storage class, a real with all its digits.
QStringList Dump()
{
    QStringList rows;
    for (const QString& table : QueryText("select group_concat(name, '|') from sqlite_master "
                                          "where type='table'")
                                    .split('|')) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(g_Conn->Handle(), ("select * from [" + table + "]").toUtf8(), -1,
                           &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList cells{table};
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const int type = sqlite3_column_type(statement, c);
                cells << QString::number(type) +
                             (type == SQLITE_FLOAT
                                  ? QString::number(sqlite3_column_double(statement, c), 'g', 17)
                                  : QString::fromUtf8(reinterpret_cast<const char*>(
                                        sqlite3_column_text(statement, c))));
            }
            rows << cells.join('|');
        }
        sqlite3_finalize(statement);
    }
    return rows;
}

QString Quoted(QString text)
{
    return "'" + text.replace("'", "''") + "'";
}

const QString kLong = "replace(hex(zeroblob(20000)),'0','m')";
const QString kCrLf = "'first'||char(13,10)||'second'||char(13)";

// Each asset: its label and the columns it holds other than the plain ones of AssetRow.
struct Variation
{
    QString label;
    QList<std::pair<QString, QString>> columns;
};

QList<Variation> Variations(long long firstAcme, long long secondAcme)
{
    QList<Variation> variations{
        {"negative money",
         {{"PurchasePrice", "-5"}, {"CurrentValue", "-1234.5"}, {"SalvageValue", "-0.0001"}}},
        {"zero, whole and null numbers",
         {{"PurchasePrice", "0"}, {"CurrentValue", "584"}, {"DepreciableLife", "null"}}},
        {"largest money",
         {{"PurchasePrice", "922337203685477.5"}, {"CurrentValue", "-922337203685477.5"}}},
        {"more decimals than shown",
         {{"PurchasePrice", "584.5678"},
          {"CurrentValue", "1.2346"},
          {"SalvageValue", "0.30000000000000004"},
          {"DepreciableLife", "2.55555"}}},
        {"edge dates",
         {{"DateAcquired", "'0100-01-01'"},
          {"DateSold", "'9999-12-31'"},
          {"NextSchedMaint", "'2024-02-29 14:30:05'"}}},
        {"an old date with a time", {{"DateAcquired", "'1700-03-01 10:20:30'"}}},
        {"line ends and a long text",
         {{"AssetDescription", kCrLf}, {"Comments", kCrLf}, {"ModelNumber", kLong}}},
        {"the first Acme", {{"VendorID", QString::number(firstAcme)}}},
        {"the second Acme", {{"VendorID", QString::number(secondAcme)}}},
    };
    for (const QString& text : HostileTexts())
        variations.append({"hostile " + text.left(12),
                           {{"AssetDescription", Quoted(text)},
                            {"SerialNumber", Quoted(text)},
                            {"Comments", Quoted(text)}}});
    return variations;
}

QString AddVariation(const LookupIds& ids, const Variation& variation)
{
    AssetRow row(ids);
    row.salvage = "30";
    const QString id = AddAsset(row);
    for (const auto& [column, value] : variation.columns)
        RawSql("update Assets set " + column + "=" + value + " where AssetID=" + id);
    return id;
}

using Check = std::function<void(const QString&, QDialog&, QPushButton*)>;

// Opens every entry of a history table in its dialog, as its pane does, and saves it.
template <typename Dialog>
void SaveEveryEntry(const QString& table, const QString& caption, const Check& check)
{
    for (const QString& id :
         QueryText("select group_concat(" + table + "ID) from " + table).split(',')) {
        auto form = OpenDialog<Dialog>(
            id, caption,
            QueryText("select AssetID from " + table + " where " + table + "ID=" + id));
        check(table + " " + id, *form, form->PushButton2);
    }
}

} // namespace

void TestLocales::init()
{
    // The locale is the one LC_ALL names, whether or not the C library has it.
    QVERIFY(qEnvironmentVariable("LC_ALL").startsWith(QLocale::system().name()));
}

void TestLocales::unchangedSavesLeaveEveryRowAsItWas()
{
    EditorCase c{QString()};
    RawSql("insert into Vendors (VendorName) values ('Acme')");
    const QList<Variation> variations = Variations(c.ids.acme, LastKey("Vendors", "VendorID"));
    QStringList assets;
    for (const Variation& variation : variations)
        assets << AddVariation(c.ids, variation);
    const QString a = assets[0], b = assets[1];
    // Histories with dates before 1752 and with times, and amounts as odd as the assets'.
    const QStringList maintenance{
        a + ",'1700-01-01 08:15:00'," + kCrLf + ",'Bob',584.5678",
        a + ",'9999-12-31'," + Quoted(HostileTexts()[1]) + ",'Ann',-0.0001",
        b + ",'2024-02-29 23:59:59'," + kLong + ",'Eve',922337203685477.5",
        b + ",'0100-01-01','Belt','Eve',584"};
    for (const QString& values : maintenance)
        RawSql("insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,"
               "MaintenancePerformedBy,MaintenanceCost) values (" +
               values + ")");
    for (const QString& values :
         {a + ",'1700-01-01 08:15:00',-5", a + ",'2026-12-08',1.2346",
          b + ",'0100-01-01',92233720368547.5", b + ",'9999-12-31',0.30000000000000004"})
        RawSql("insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) values (" +
               values + ")");

    // Each save is judged on its own, so that the list names every one that changed a row.
    QStringList changed;
    const Check check = [&](const QString& what, QDialog& window, QPushButton* save) {
        const QStringList before = Dump();
        QTest::mouseClick(save, Qt::LeftButton);
        if (window.result() != QDialog::Accepted || Dump() != before)
            changed << what;
    };
    for (int n = 0; n < assets.size(); ++n) {
        auto form = OpenEditor(assets[n]);
        check(variations[n].label, *form, form->PushButton[1]);
    }
    SaveEveryEntry<Form2>("Maintenance", "Edit Maintenance", check);
    SaveEveryEntry<Form3>("Depreciation", "Edit Depreciation", check);
    QCOMPARE(changed, QStringList());
}

void TestLocales::exampleDataStoresThreeAssetsWithTheirDates()
{
    TestEnvironment env{QString()};
    auto form = StartMainWindow();
    Click(*form, "PushButton4");
    QCOMPARE(QueryCount("select count(*) from Assets where DateAcquired='2026-12-07' and "
                        "DateSold='2026-12-07'"),
             3);
    QCOMPARE(form->ListView1->ItemCount(), 3);
}

QTEST_MAIN(TestLocales)
#include "test_locales.moc"
