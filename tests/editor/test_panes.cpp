#include "editor/EditorFixture.h"
#include "platform/ui/Modal.h"
#include "records/Form2.h"
#include "records/Form3.h"
#include "records/RecordFixture.h"

#include <QDateEdit>
#include <QLabel>
#include <QTabWidget>

// The editor's maintenance and depreciation panes: what they list, and their commands
// driving the record dialogs.
class TestPanes : public QObject
{
    Q_OBJECT

private slots:
    void rowsInDateOrderWithTheirTotals();
    void commandsOpenTheDialogsAndThePaneFollows();
    void cancelAndCloseBoxStoreNothingButThePaneReloads();
    void commandsWithoutASelectedRowDoNothing();
    void moneyUnderADecimalCommaLocale();
};

namespace {

const QString kQuoted = "O'Brien's \"pump\"";

// One pane as the tests see it: its list, total and the total's copy, and its Add New, Edit
// Selected and Delete Selected.
struct Pane
{
    const char* table;
    const char* amountName;
    int amountColumn;
    ListView* Form4::*list;
    QLineEdit *Form4::*total, *Form4::*copy;
    void (Form4::*add)();
    void (Form4::*edit)();
    void (Form4::*remove)();
    QString addCaption, editCaption;
};

const Pane kPanes[] = {
    {"Maintenance", "MaintenanceCost", 4, &Form4::ListView1, &Form4::txtTotalMaintenance,
     &Form4::txtTotalMaintenance2, &Form4::PushButton4_Click, &Form4::PushButton5_Click,
     &Form4::PushButton6_Click, "Add New Maintenance", "Edit Maintenance"},
    {"Depreciation", "DepreciationAmount", 2, &Form4::ListView2, &Form4::txtTotalDepreciation,
     &Form4::txtTotalDepreciation2, &Form4::PushButton7_Click, &Form4::PushButton8_Click,
     &Form4::PushButton9_Click, "Add Depreciation", "Edit Depreciation"},
};

// Each row as its cells joined by |.
QStringList Rows(const ListView& list)
{
    QStringList rows;
    for (int r = 0; r < list.ItemCount(); ++r) {
        QStringList cells{list.ItemText(r)};
        for (int c = 1; c < list.ColumnCount(); ++c)
            cells << list.SubItemText(r, c);
        rows << cells.join('|');
    }
    return rows;
}

void AddEntry(const QString& table, const QString& assetId, const QString& date,
              const QString& amount, const QString& what = "Oil")
{
    const QString quoted = QString(what).replace("'", "''");
    g_Conn->Execute(table == "Maintenance"
                        ? "insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,"
                          "MaintenancePerformedBy,MaintenanceCost) values (" +
                              assetId + ",'" + date + "','" + quoted + "','Bob'," + amount + ")"
                        : "insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) "
                          "values (" +
                              assetId + ",'" + date + "'," + amount + ")");
}

QString Key(const char* table)
{
    return QueryText(QString("select max(%1ID) from %1").arg(table));
}

// What a record dialog was opened with and showed.
struct Opened
{
    QString type, caption, id, assetId, amount, description;
    bool captionsWhole = true;
};

enum class End { Save, Cancel, CloseBox };

// Drives every record dialog that opens: notes what it was given, sets the date, types the
// amount (and the maintenance texts) when one is given, then ends the dialog. Both dialogs
// name their date, amount and buttons alike.
struct Driver
{
    QList<Opened> opened;
    QString amount, description = "Oil";
    QDate date = QDate(2026, 2, 1);
    End end = End::Save;
    std::function<void()> whileOpen;

    Driver()
    {
        SetModalDriver([this](QWidget& window) {
            auto* cost = window.findChild<QLineEdit*>("txtCost");
            auto* text = window.findChild<QLineEdit*>("txtDescription");
            Opened o;
            o.type = window.metaObject()->className();
            o.caption = window.windowTitle();
            if (auto* f = qobject_cast<Form2*>(&window))
                o.id = f->m_ID, o.assetId = f->m_AssetID;
            if (auto* f = qobject_cast<Form3*>(&window))
                o.id = f->m_ID, o.assetId = f->m_AssetID;
            o.amount = cost->text();
            o.description = text ? text->text() : QString();
            // Every caption shows whole, beside its control and clear of it.
            for (QLabel* label : window.findChildren<QLabel*>("Label1"))
                o.captionsWhole = o.captionsWhole && label->sizeHint().width() <= label->width() &&
                                  !label->geometry().intersects(label->buddy()->geometry());
            opened << o;
            window.findChild<QDateEdit*>("dtpDate")->setDate(date);
            if (!amount.isEmpty()) {
                Type(cost, amount);
                if (text) {
                    Type(text, description);
                    Type(window.findChild<QLineEdit*>("txtPerformedBy"), "Ann O'Neil");
                }
            }
            if (whileOpen)
                whileOpen();
            // Returning with the dialog open is the close box: ShowModal closes it.
            if (end != End::CloseBox)
                Click(window.findChild<QPushButton*>(end == End::Save ? "PushButton2"
                                                                      : "PushButton1"));
        });
    }
    ~Driver() { SetModalDriver({}); }
};

} // namespace

void TestPanes::rowsInDateOrderWithTheirTotals()
{
    EditorCase c;
    const QString assetId = AddAsset(AssetRow(c.ids));
    const QString other = AddAsset(AssetRow(c.ids));
    // Stored out of order, with dates whose texts sort differently from the dates.
    AddEntry("Maintenance", assetId, "3/2/2026", "20", kQuoted);
    const QString quotedKey = Key("Maintenance");
    AddEntry("Maintenance", assetId, "12/24/2025", "1234.5", "Belt");
    const QString beltKey = Key("Maintenance");
    AddEntry("Maintenance", assetId, "1/5/2026", "10.5");
    const QString oilKey = Key("Maintenance");
    AddEntry("Maintenance", other, "1/1/2026", "99");
    AddEntry("Depreciation", assetId, "11/30/2026", "-5");
    const QString negativeKey = Key("Depreciation");
    AddEntry("Depreciation", assetId, "2/1/2026", "250.125");
    const QString firstKey = Key("Depreciation");
    AddEntry("Depreciation", other, "2/1/2026", "1");
    const QString empty = AddAsset(AssetRow(c.ids));

    auto form = OpenEditor(assetId);
    QCOMPARE(Rows(*form->ListView1),
             QStringList({beltKey + "|12/24/2025|Belt|Bob|$1,234.50",
                          oilKey + "|1/5/2026|Oil|Bob|$10.50",
                          quotedKey + "|3/2/2026|" + kQuoted + "|Bob|$20.00"}));
    // Half a cent shows rounded up, and the total sums the stored amounts.
    QCOMPARE(Rows(*form->ListView2),
             QStringList({firstKey + "|2/1/2026|$250.13", negativeKey + "|11/30/2026|-$5.00"}));
    const std::pair<QLineEdit*, QString> totals[] = {{form->txtTotalMaintenance, "$1,265.00"},
                                                     {form->txtTotalMaintenance2, "$1,265.00"},
                                                     {form->txtTotalDepreciation, "$245.13"},
                                                     {form->txtTotalDepreciation2, "$245.13"}};
    for (const auto& [box, text] : totals)
        QVERIFY2(box->text() == text, qPrintable(box->objectName() + ": " + box->text()));

    auto none = OpenEditor(empty);
    QVERIFY(none->ListView1->ItemCount() == 0 && none->ListView2->ItemCount() == 0);
    for (QLineEdit* box : {none->txtTotalMaintenance, none->txtTotalMaintenance2,
                           none->txtTotalDepreciation, none->txtTotalDepreciation2})
        QCOMPARE(box->text(), QString("$0.00"));

    // A cell that cannot be shown (a null performer, an amount beyond the currency range) is
    // reported by its loader and left empty; the rest of its row, the later rows and the
    // total stay whole.
    g_Conn->Execute("update Maintenance set MaintenancePerformedBy=null where MaintenanceID=" +
                    oilKey);
    g_Conn->Execute("update Depreciation set DepreciationAmount=1e300 where DepreciationID=" +
                    negativeKey);
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    form->LoadMaintenance();
    double total = 0;
    form->LoadDepreciation(total);
    QCOMPARE(c.env.boxes.shown().size(), 2);
    QVERIFY(ReportedAt(c.env.boxes.shown()[0], "LoadMaintenance", 104));
    QVERIFY(ReportedAt(c.env.boxes.shown()[1], "LoadDepreciation", 104));
    QVERIFY(c.env.boxes.prompts()[1].startsWith("Overflow"));
    QCOMPARE(
        Rows(*form->ListView1),
        QStringList({beltKey + "|12/24/2025|Belt|Bob|$1,234.50", oilKey + "|1/5/2026|Oil||$10.50",
                     quotedKey + "|3/2/2026|" + kQuoted + "|Bob|$20.00"}));
    QCOMPARE(Rows(*form->ListView2),
             QStringList({firstKey + "|2/1/2026|$250.13", negativeKey + "|11/30/2026|"}));
    QVERIFY(form->txtTotalMaintenance2->text() == "$1,265.00" && total == 250.125);
}

void TestPanes::commandsOpenTheDialogsAndThePaneFollows()
{
    EditorCase c;
    const QString assetId = AddAsset(AssetRow(c.ids));
    auto form = OpenEditor(assetId);
    Form4& f = *form;
    for (const Pane& pane : kPanes) {
        ListView& list = *(f.*pane.list);
        QLineEdit& total = *(f.*pane.total);
        QLineEdit& copy = *(f.*pane.copy);
        const QString count =
            QString("select count(*) from %1 where AssetID=%2").arg(pane.table, assetId);
        const bool maintenance = pane.amountColumn == 4;
        Driver driver;
        driver.description = kQuoted;

        driver.amount = "12.25";
        (f.*pane.add)();
        const QString key = Key(pane.table);
        QCOMPARE(QueryCount(count), 1LL);
        QCOMPARE(list.ItemCount(), 1);
        QCOMPARE(list.ItemText(0), key);
        QCOMPARE(list.SubItemText(0, 1), QString("2/1/2026"));
        QCOMPARE(list.SubItemText(0, pane.amountColumn), QString("$12.25"));
        if (maintenance)
            QVERIFY(list.SubItemText(0, 2) == kQuoted && list.SubItemText(0, 3) == "Ann O'Neil");
        QVERIFY(total.text() == "$12.25" && copy.text() == "$12.25");

        AddEntry(pane.table, assetId, "1/1/2026", "1");
        form->LoadMaintenance();
        double ignored = 0;
        form->LoadDepreciation(ignored);
        QCOMPARE(list.ItemCount(), 2);
        // Chosen as the user does, by a click on the row of the pane's page.
        f.SSTab1->setCurrentWidget(list.parentWidget());
        QVERIFY(list.isVisible());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(1, 1)).center());
        QCOMPARE(list.SelectedIndex(), 1);
        driver.amount = "-7.5";
        (f.*pane.edit)();
        QCOMPARE(QueryCount(count), 2LL);
        QCOMPARE(list.SubItemText(1, pane.amountColumn), QString("-$7.50"));
        QVERIFY(total.text() == "-$6.50" && copy.text() == "-$6.50");

        list.SelectItem(0);
        (f.*pane.remove)();
        QCOMPARE(QueryCount(count), 1LL);
        QCOMPARE(Rows(list).size(), 1);
        QCOMPARE(list.ItemText(0), key);
        QVERIFY(total.text() == "-$7.50" && copy.text() == "-$7.50");

        // Add and edit each opened their dialog with the pane's caption and keys; the edit
        // showed the entry as stored, quotes included.
        QCOMPARE(driver.opened.size(), 2);
        const Opened& added = driver.opened[0];
        const Opened& edited = driver.opened[1];
        QCOMPARE(added.type, QString(maintenance ? "Form2" : "Form3"));
        QVERIFY(added.caption == pane.addCaption && added.id.isEmpty());
        QVERIFY(edited.caption == pane.editCaption && edited.id == key);
        QVERIFY(added.assetId == assetId && edited.assetId == assetId);
        QVERIFY(added.captionsWhole);
        QCOMPARE(edited.amount, QString("12.25"));
        if (maintenance)
            QCOMPARE(edited.description, kQuoted);
    }
    // Neither pane command asked anything.
    QCOMPARE(c.env.boxes.shown().size(), 0);
}

void TestPanes::cancelAndCloseBoxStoreNothingButThePaneReloads()
{
    EditorCase c;
    const QString assetId = AddAsset(AssetRow(c.ids));
    for (const Pane& pane : kPanes)
        AddEntry(pane.table, assetId, "1/5/2026", "10");
    auto form = OpenEditor(assetId);
    Form4& f = *form;
    for (const Pane& pane : kPanes) {
        ListView& list = *(f.*pane.list);
        const QString key = Key(pane.table);
        int year = 2020;
        for (End end : {End::Cancel, End::CloseBox}) {
            for (auto command : {pane.add, pane.edit}) {
                Driver driver;
                driver.amount = "55";
                driver.end = end;
                // An entry is stored while the dialog is open; the pane shows it once the
                // dialog has closed, whatever the answer.
                const QString stored = QString("1/1/%1").arg(year++);
                driver.whileOpen = [&] { AddEntry(pane.table, assetId, stored, "1"); };
                const int before = list.ItemCount();
                list.SelectItem(before - 1);
                (f.*command)();
                QCOMPARE(driver.opened.size(), 1);
                QCOMPARE(list.ItemCount(), before + 1);
                QCOMPARE(list.ItemText(before - 1), Key(pane.table));
                QCOMPARE(list.SubItemText(before - 1, 1), stored);
                // The edited entry stays selected, so Edit Selected can open it again.
                QCOMPARE(list.SelectedIndex(), command == pane.edit ? before : -1);
            }
        }
        const QString amount = QString("select %1 from %2 where ").arg(pane.amountName, pane.table);
        QCOMPARE(QueryText(amount + pane.table + "ID=" + key), QString("10"));
        QCOMPARE(QueryText(amount + pane.amountName + "=55"), QString());
    }
}

void TestPanes::commandsWithoutASelectedRowDoNothing()
{
    EditorCase c;
    const QString assetId = AddAsset(AssetRow(c.ids));
    AddEntry("Maintenance", assetId, "1/5/2026", "10");
    auto form = OpenEditor(assetId);
    Driver driver;
    // The depreciation pane is empty; a selected maintenance row does not count for it.
    form->ListView1->SelectItem(0);
    form->PushButton8_Click();
    form->PushButton9_Click();
    form->ListView1->SelectItem(-1);
    form->PushButton5_Click();
    form->PushButton6_Click();
    QCOMPARE(driver.opened.size(), 0);
    QCOMPARE(c.env.boxes.shown().size(), 0);
    QCOMPARE(QueryCount("select count(*) from Maintenance"), 1LL);
    QCOMPARE(form->ListView1->ItemCount(), 1);

    // A new asset has no key to keep history under: the six commands wait for its save.
    auto add = OpenEditor();
    for (int n = 4; n <= 9; ++n)
        QVERIFY(!add->PushButton[n]->isEnabled() && form->PushButton[n]->isEnabled());
}

void TestPanes::moneyUnderADecimalCommaLocale()
{
    EditorCase c("de_DE");
    const QString assetId = AddAsset(AssetRow(c.ids));
    auto form = OpenEditor(assetId);
    Driver driver;
    driver.amount = "10,5";
    form->PushButton4_Click();
    driver.date = QDate(2026, 3, 1);
    driver.amount = "1.234,5";
    form->PushButton4_Click();
    driver.amount = "-0,125";
    form->PushButton7_Click();
    // Stored as the numbers typed, whatever the separators of the locale.
    QCOMPARE(QueryCount("select count(*) from Maintenance where MaintenanceCost=10.5"), 1LL);
    QCOMPARE(QueryCount("select count(*) from Maintenance where MaintenanceCost=1234.5"), 1LL);
    QCOMPARE(QueryCount("select count(*) from Depreciation where DepreciationAmount=-0.125"), 1LL);
    QCOMPARE(form->ListView1->SubItemText(0, 1), QString("01.02.2026"));
    QCOMPARE(form->ListView1->SubItemText(0, 4), QString("$10,50"));
    QCOMPARE(form->ListView1->SubItemText(1, 4), QString("$1.234,50"));
    QCOMPARE(form->txtTotalMaintenance->text(), QString("$1.245,00"));
    QCOMPARE(form->ListView2->SubItemText(0, 2), QString("-$0,13"));
    QCOMPARE(form->txtTotalDepreciation2->text(), QString("-$0,13"));

    // The edit dialog shows the stored amount in the locale's own form.
    form->ListView1->SelectItem(1);
    driver.amount.clear();
    driver.end = End::Cancel;
    form->PushButton5_Click();
    QCOMPARE(driver.opened.last().amount, QString("1234,5"));
}

QTEST_MAIN(TestPanes)
#include "test_panes.moc"
