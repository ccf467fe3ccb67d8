#include "common/Settings.h"
#include "data/AssetColumns.h"
#include "editor/EditorFixture.h"
#include "mainwindow/MainWindowFixture.h"
#include "platform/conv/Conv.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPreview.h"
#include "records/Form2.h"
#include "records/Form3.h"
#include "records/RecordFixture.h"

// Whatever a user types or pastes into a box, answers in an input box or leaves in the
// settings file is stored and shown back exactly or refused with a message: it never runs as
// part of a statement, and never changes another row.
class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void everyBoxKeepsTheTextAsTyped();
    void keysThatAreNoNumbersAreRefused();
    void settingsThatAreNoUsableNumbersAreReportedOnceAndIgnored();
    void amountsBeyondTheCurrencyRangeAreErrorsOfTheirCellsAndStayStored();
};

namespace {

// The editor's free-text boxes.
QList<QWidget*> TextBoxes(const Form4& form)
{
    return {form.txtDescription, form.txtModelNo,    form.txtSerialNo,
            form.txtBarcodeNo,   form.txtDeprMethod, form.txtComments};
}

void Put(QWidget* control, const QString& text)
{
    if (auto* area = qobject_cast<QPlainTextEdit*>(control))
        area->setPlainText(text);
    else
        qobject_cast<QLineEdit*>(control)->setText(text);
}

int ColumnOf(const char* caption)
{
    for (int n = 0; n < int(kAssetColumns.size()); ++n)
        if (QLatin1String(kAssetColumns[n].caption) == QLatin1String(caption))
            return n;
    return -1;
}

// Every shown box so far is a report of a key that is no number.
bool OnlyKeyReports(const RecordingBoxes& boxes)
{
    for (const QString& prompt : boxes.prompts())
        if (!prompt.contains("Type mismatch") || !prompt.contains("is no record key"))
            return false;
    return !boxes.shown().isEmpty();
}

} // namespace

void TestHostile::everyBoxKeepsTheTextAsTyped()
{
    EditorCase c;
    QStringList ids;
    for (const QString& text : HostileTexts()) {
        auto form = OpenEditor();
        // The lookup lists' "+" buttons: one input box each, two for an employee.
        for (int button : {10, 12, 14, 16, 18}) {
            c.env.boxes.ExpectInput(text);
            if (button == 10)
                c.env.boxes.ExpectInput(text);
            form->PushButton[button]->click();
        }
        for (QComboBox* list :
             {form->cboVendors, form->cboCategories, form->cboStatus, form->cboDepartment})
            Choose(list, text);
        Choose(form->cboEmployees, text + ", " + text);
        for (QWidget* box : TextBoxes(*form))
            Put(box, text);
        // Number boxes take what is no number as 0; a date box refuses it.
        for (QLineEdit* box : {form->txtPurchasePrice, form->txtCurrentValue, form->txtSalvageValue,
                               form->txtDepreciableLife})
            box->setText(text);
        form->txtDateSold->setText(text);
        c.env.boxes.ExpectMessage(BoxAnswer::OK);
        form->PushButton[1]->click();
        QCOMPARE(c.env.boxes.prompts().last(), QString("Must be date value."));
        QCOMPARE(QueryCount("select count(*) from Assets"), ids.size());
        form->txtDateSold->clear();
        form->PushButton[1]->click();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        ids << QString::number(LastKey("Assets", "AssetID"));
        QCOMPARE(Stored("PurchasePrice+CurrentValue+SalvageValue+DepreciableLife", ids.last()),
                 QString("0"));

        auto again = OpenEditor(ids.last());
        for (int n = 0; n < TextBoxes(*form).size(); ++n)
            QCOMPARE(Shown(TextBoxes(*again)[n]), Shown(TextBoxes(*form)[n]));
        // A one-line box keeps the text as the box took it, control characters included.
        QCOMPARE(again->txtModelNo->text(), text);
        QCOMPARE(again->txtComments->toPlainText(), text);
        for (QComboBox* list :
             {again->cboVendors, again->cboCategories, again->cboStatus, again->cboDepartment})
            QCOMPARE(list->currentText(), text);
        QCOMPARE(again->cboEmployees->currentText(), text + ", " + text);

        // The two history dialogs' text boxes; their number boxes refuse the text.
        auto add = OpenDialog<Form2>("", "Add New Maintenance", ids.last());
        add->txtDescription->setText(text);
        add->txtPerformedBy->setText(text);
        add->txtCost->setText(text);
        c.env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(add->PushButton2);
        QCOMPARE(c.env.boxes.prompts().last(), QString("Cost must be a numerical value."));
        add->txtCost->setText("1");
        Click(add->PushButton2);
        auto edit = OpenDialog<Form2>(QueryText("select max(MaintenanceID) from Maintenance"),
                                      "Edit Maintenance", ids.last());
        QCOMPARE(edit->txtDescription->text(), text);
        QCOMPARE(edit->txtPerformedBy->text(), text);
        auto amount = OpenDialog<Form3>("", "Add New Depreciation", ids.last());
        amount->txtCost->setText(text);
        c.env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(amount->PushButton2);
        QCOMPARE(c.env.boxes.prompts().last(), QString("Amount must be a numerical value."));
        QCOMPARE(QueryCount("select count(*) from Depreciation"), 0LL);
    }
    QCOMPARE(QueryCount("select count(*) from Maintenance"), ids.size());

    // A NUL cannot end a statement early: the asset is refused with a report, nothing stored.
    auto form = OpenEditor(ids.first());
    form->txtModelNo->setText(QString("a") + QChar(0) + "', Comments='changed");
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    form->PushButton[1]->click();
    QVERIFY(ReportedAt(c.env.boxes.shown().last(), "PushButton1_Click", 104));
    QCOMPARE(Stored("Comments", ids.first()), HostileTexts().first());

    // The main list shows every text as stored.
    auto main = StartMainWindow();
    QCOMPARE(main->ListView1->ItemCount(), ids.size());
    for (int row = 0; row < ids.size(); ++row) {
        const QString id = main->ListView1->ItemText(row);
        const QString text = HostileTexts().at(ids.indexOf(id));
        for (const char* column : {"Description", "Comments", "Vendor Name", "Status"})
            QCOMPARE(main->ListView1->SubItemText(row, ColumnOf(column)), text);
        QCOMPARE(main->ListView1->SubItemText(row, ColumnOf("Employee")), text + ", " + text);
    }
}

// Keys travel between windows as text; one that is no number would otherwise be pasted into
// the statement, where "1 or 1=1" changes every entry.
void TestHostile::keysThatAreNoNumbersAreRefused()
{
    EditorCase c;
    const QString asset = AddAsset(AssetRow(c.ids));
    AddMaintenance(asset, "CCur('5')");
    AddMaintenance(asset, "CCur('6')");
    for (int n = 0; n < 12; ++n)
        c.env.boxes.ExpectMessage(BoxAnswer::OK);

    auto edit = OpenDialog<Form2>("1 or 1=1", "Edit Maintenance", asset);
    QCOMPARE(edit->txtDescription->text(), QString());
    edit->txtDescription->setText("Changed");
    edit->txtPerformedBy->setText("Eve");
    edit->txtCost->setText("0");
    Click(edit->PushButton2);
    QVERIFY(edit->isVisible());
    auto add = OpenDialog<Form2>("", "Add New Maintenance", asset + "); delete from Assets; --");
    add->txtDescription->setText("Added");
    add->txtPerformedBy->setText("Eve");
    add->txtCost->setText("1");
    Click(add->PushButton2);
    auto editor = OpenEditor("0 or AssetID>0");
    QCOMPARE(editor->txtDescription->toPlainText(), QString());
    QVERIFY(OnlyKeyReports(c.env.boxes));

    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
    QCOMPARE(QueryCount("select count(*) from Maintenance where MaintenanceDescription='Oil'"),
             2LL);
    QCOMPARE(QueryCount("select sum(MaintenanceCost) from Maintenance"), 11LL);
}

// A width or window state that is no number, or no possible one, is reported at start and
// the column or window keeps its own; closing writes sound values again.
void TestHostile::settingsThatAreNoUsableNumbersAreReportedOnceAndIgnored()
{
    TestEnvironment env;
    const QString values[] = {"wide",
                              "'; drop table Assets; --",
                              "",
                              "-5",
                              "1e400",
                              "900000000000000",
                              QString(10000, '9'),
                              "0x10",
                              "1,5,0"};
    for (const QString& value : values) {
        SaveSetting("Velquor", "Tarnwick", "ColumnHeaders3", value);
        SaveSetting("Velquor", "Tarnwick", "WindowState", value);
        env.boxes.clear();
        env.boxes.ExpectMessage(BoxAnswer::OK);
        env.boxes.ExpectMessage(BoxAnswer::OK);
        auto form = StartMainWindow();
        const QStringList prompts = env.boxes.prompts();
        QCOMPARE(prompts.size(), 2);
        QVERIFY2(prompts[0].contains(CommandLocation("Form_Load", 118)), qPrintable(value));
        QVERIFY2(prompts[1].contains(CommandLocation("Form_Load", 122)), qPrintable(value));
        const double width = form->ListView1->ColumnWidth(2);
        QVERIFY2(width > 0 && width < 1e6, qPrintable(value));
        QCOMPARE(form->ListView1->ColumnWidth(3), 1500.0);
        QCOMPARE(form->windowState(), Qt::WindowNoState);
        form->close();
        QVERIFY(IsNumeric(GetSetting("Velquor", "Tarnwick", "ColumnHeaders3")));
    }
    env.boxes.clear();
    auto form = StartMainWindow();
    QCOMPARE(env.boxes.shown().size(), 0);
}

// Amounts another program stored beyond the currency range used to read as
// -922,337,203,685,477.58 without a word, and an unchanged save wrote that back.
void TestHostile::amountsBeyondTheCurrencyRangeAreErrorsOfTheirCellsAndStayStored()
{
    EditorCase c;
    const QString id = AddAsset(AssetRow(c.ids));
    RawSql("update Assets set PurchasePrice=1e300, CurrentValue=-9e999 where AssetID=" + id);
    const QString stored = "select count(*) from Assets where PurchasePrice=1e300 and "
                           "CurrentValue=-9e999";
    auto overflows = [&](int count) {
        const QStringList prompts = c.env.boxes.prompts();
        QCOMPARE(prompts.size(), count);
        for (const QString& prompt : prompts)
            QVERIFY2(prompt.startsWith("Overflow"), qPrintable(prompt));
        c.env.boxes.clear();
    };
    // The list reports each cell and leaves it empty.
    for (int n = 0; n < 2; ++n)
        c.env.boxes.ExpectMessage(BoxAnswer::OK);
    auto main = StartMainWindow();
    overflows(2);
    QCOMPARE(main->ListView1->SubItemText(0, ColumnOf("Purchase Price")), QString());
    QCOMPARE(main->ListView1->SubItemText(0, ColumnOf("Depreciable Life")), QString("5"));
    // The report reports the first such cell once, at the step that shows it, and prints the
    // rest of the asset with those boxes empty.
    QStringList printed;
    ModalRecorder previews([&](QWidget& window) {
        for (const PlacedControl& placed :
             qobject_cast<ReportPreview*>(&window)->Layout().Page(0).controls)
            printed << placed.control->name + '=' + placed.text;
    });
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    Click(*main, "PushButton7");
    QCOMPARE(previews.shown, 1);
    QVERIFY(c.env.boxes.prompts().value(0).contains(CommandLocation("PushButton7_Click", 108)));
    overflows(1);
    for (const char* box : {"Text14=", "Text15=", "Text17=5", "Text8=Pump", "Text10=M1"})
        QVERIFY2(printed.contains(box), box);
    // The editor reports both boxes and the basis that needs the price, each time it reads
    // the asset, and an unchanged save keeps what is stored.
    for (int n = 0; n < 6; ++n)
        c.env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = OpenEditor(id);
    QVERIFY(form->txtPurchasePrice->text().isEmpty() && form->txtCurrentValue->text().isEmpty());
    QTest::mouseClick(form->PushButton[1], Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    overflows(6);
    QCOMPARE(QueryCount(stored), 1LL);
}

QTEST_MAIN(TestHostile)
#include "test_hostile.moc"
