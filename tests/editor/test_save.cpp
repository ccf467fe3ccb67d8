#include "editor/EditorFixture.h"

#include "platform/conv/Conv.h"

#include <QTabWidget>
#include <functional>
#include <sqlite3.h>

class TestSave : public QObject
{
    Q_OBJECT

private slots:
    void insertOfTheRequiredFieldsOnly();
    void updateKeepsMoneyQuotesAndBlanks();
    void checksRunInOrderWithFocusAndPage();
    void refusedStatementKeepsTheEditorOpen();
    void saveAppliesTheEntryRulesFirst();
    void hostileTextIsStoredExactly();
    void unchangedSaveUnderADecimalCommaLocaleKeepsValues();
};

namespace {

void ClickSave(Form4& form)
{
    QTest::mouseClick(form.PushButton[1], Qt::LeftButton);
}

} // namespace

void TestSave::insertOfTheRequiredFieldsOnly()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    auto form = OpenEditor();
    FillRequired(*form);

    QCOMPARE(form->SaveStatement(),
             QString("insert into Assets (AssetDescription,EmployeeID,AssetCategoryID,StatusID,"
                     "DepartmentID,VendorID,ModelNumber,SerialNumber,BarcodeNumber,DateAcquired,"
                     "DateSold,PurchasePrice,DepreciationMethod,DepreciableLife,SalvageValue,"
                     "CurrentValue,Comments,NextSchedMaint) values ('Pump',%1,%2,%3,%4,%5,'M1',"
                     "'S1','B1',null,null, CCur('0'),'Straight line',0,CCur('0'),CCur('0'),"
                     "'None',null)")
                 .arg(ids.annOBrien)
                 .arg(ids.computers)
                 .arg(ids.inUse)
                 .arg(ids.sales)
                 .arg(ids.acme));

    ClickSave(*form);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
    const QString id = QString::number(LastKey("Assets", "AssetID"));
    QCOMPARE(QueryCount("select count(*) from Assets where DateAcquired is null and DateSold is "
                        "null and NextSchedMaint is null and AssetID=" +
                        id),
             1LL);
    QCOMPARE(Stored("PurchasePrice", id), QString("0"));
    QCOMPARE(Stored("CurrentValue", id), QString("0"));
    QCOMPARE(Stored("SalvageValue", id), QString("0"));
    QCOMPARE(Stored("DepreciableLife", id), QString("0"));
    QCOMPARE(Stored("EmployeeID", id), QString::number(ids.annOBrien));
    QCOMPARE(Stored("VendorID", id), QString::number(ids.acme));
    QCOMPARE(Stored("DepreciationMethod", id), QString("Straight line"));
    QCOMPARE(env.boxes.shown().size(), 0);
}

void TestSave::updateKeepsMoneyQuotesAndBlanks()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    const QString assetId = AddAsset(AssetRow(ids));
    auto form = OpenEditor(assetId);

    form->txtDescription->setPlainText("It's new");
    form->txtPurchasePrice->setText("$1,234.50");
    form->txtCurrentValue->setText("99.5");
    form->txtSalvageValue->clear();
    form->txtDateAcquired->setText("3/15/2021");
    Choose(form->cboVendors, "Bolt");
    QCOMPARE(form->SaveStatement(),
             QString("update Assets set AssetDescription='It''s new',EmployeeID=%1,"
                     "AssetCategoryID=%2,StatusID=%3,DepartmentID=%4,VendorID=%5,"
                     "ModelNumber='M1',SerialNumber='S1',BarcodeNumber='B1',"
                     "DateAcquired='3/15/2021',DateSold=null,PurchasePrice=CCur('1,234.50'),"
                     "DepreciationMethod='SL',DepreciableLife=5,SalvageValue=CCur('0'),"
                     "CurrentValue=CCur('99.5'),Comments='None',NextSchedMaint=null "
                     "where AssetID=%6")
                 .arg(ids.annOBrien)
                 .arg(ids.computers)
                 .arg(ids.inUse)
                 .arg(ids.sales)
                 .arg(ids.bolt)
                 .arg(assetId));
    ClickSave(*form);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(Stored("AssetDescription", assetId), QString("It's new"));
    QCOMPARE(Stored("PurchasePrice", assetId), QString("1234.5"));
    QCOMPARE(Stored("CurrentValue", assetId), QString("99.5"));
    QCOMPARE(Stored("SalvageValue", assetId), QString("0"));
    QCOMPARE(Stored("DateAcquired", assetId), QString("3/15/2021"));
    QCOMPARE(Stored("VendorID", assetId), QString::number(ids.bolt));
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
    // Read again before closing.
    QCOMPARE(form->txtPurchasePrice->text(), QString("$1,234.50"));

    // A description of blanks passes the check.
    auto again = OpenEditor(assetId);
    again->txtDescription->setPlainText("   ");
    ClickSave(*again);
    QCOMPARE(again->result(), int(QDialog::Accepted));
    QCOMPARE(Stored("AssetDescription", assetId), QString("   "));
}

void TestSave::checksRunInOrderWithFocusAndPage()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddLookupRows();
    auto form = OpenEditor();
    auto* tabs = Control<QTabWidget>(*form, "SSTab1");

    // Each round fills what the previous message asked for; only the first failing check
    // speaks.
    const struct
    {
        QString message;
        QWidget* focus;
        int page;
        std::function<void()> mend;
    } rounds[] = {
        {"You forgot to select employee.", form->cboEmployees, 0,
         [&] { Choose(form->cboEmployees, "O'Brien, Ann"); }},
        {"You forgot to select vendor.", form->cboVendors, 0,
         [&] { Choose(form->cboVendors, "Acme"); }},
        {"You forgot to select asset category.", form->cboCategories, 0,
         [&] { Choose(form->cboCategories, "Printers"); }},
        {"You forgot to select status.", form->cboStatus, 0,
         [&] { Choose(form->cboStatus, "Retired"); }},
        {"You forgot to select department.", form->cboDepartment, 0,
         [&] { Choose(form->cboDepartment, "Works"); }},
        {"You forgot to input description.", form->txtDescription, 0,
         [&] { form->txtDescription->setPlainText("Pump"); }},
        {"You forgot to input Model Number.", form->txtModelNo, 0,
         [&] { form->txtModelNo->setText("M1"); }},
        {"You forgot to input Serial Number.", form->txtSerialNo, 0,
         [&] { form->txtSerialNo->setText("S1"); }},
        {"You forgot to input Barcode Number.", form->txtBarcodeNo, 0,
         [&] { form->txtBarcodeNo->setText("B1"); }},
        {"You forgot to input Depreciation Method.", form->txtDeprMethod, 1,
         [&] { form->txtDeprMethod->setText("SL"); }},
        {"You forgot to input Comments.", form->txtComments, 2,
         [&] { form->txtComments->setPlainText("None"); }},
    };
    for (const auto& round : rounds) {
        tabs->setCurrentIndex(0);
        env.boxes.clear();
        env.boxes.ExpectMessage(BoxAnswer::OK);
        ClickSave(*form);
        QCOMPARE(env.boxes.prompts(), QStringList{round.message});
        QCOMPARE(env.boxes.shown()[0].request.buttons, BoxButtons::OK);
        QCOMPARE(env.boxes.shown()[0].request.icon, BoxIcon::None);
        QCOMPARE(env.boxes.shown()[0].request.title, AppTitle());
        QCOMPARE(tabs->currentIndex(), round.page);
        QCOMPARE(form->focusWidget(), round.focus);
        QVERIFY(form->isVisible());
        QCOMPARE(QueryCount("select count(*) from Assets"), 0LL);
        round.mend();
    }
    env.boxes.clear();
    ClickSave(*form);
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
}

// A refused statement used to be reported and the editor closed all the same, so the user's
// input was lost.
void TestSave::refusedStatementKeepsTheEditorOpen()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    const QString assetId = AddAsset(AssetRow(ids));
    auto form = OpenEditor(assetId);
    form->txtDescription->setPlainText("Typed by the user");
    QCOMPARE(sqlite3_exec(g_Conn->Handle(),
                          "create trigger refuse before update on Assets begin "
                          "select raise(abort, 'refused for the test'); end",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);

    env.boxes.ExpectMessage(BoxAnswer::OK);
    ClickSave(*form);
    QCOMPARE(env.boxes.shown().size(), 1);
    QCOMPARE(env.boxes.shown()[0].request.title, QString("Application Error"));
    QVERIFY(env.boxes.shown()[0].request.prompt.contains(ErrorLocation("PushButton1_Click", 104)));
    QVERIFY(form->isVisible());
    QVERIFY(form->result() != QDialog::Accepted);
    QCOMPARE(form->txtDescription->toPlainText(), QString("Typed by the user"));
    QCOMPARE(Stored("AssetDescription", assetId), QString("Pump"));

    // Once the database takes it, the same click saves and closes.
    sqlite3_exec(g_Conn->Handle(), "drop trigger refuse", nullptr, nullptr, nullptr);
    ClickSave(*form);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(Stored("AssetDescription", assetId), QString("Typed by the user"));
}

// The leave-the-box rules never ran when Save was clicked with the focus still in a box, so
// unchecked text reached the statement.
void TestSave::saveAppliesTheEntryRulesFirst()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddLookupRows();
    auto form = OpenEditor();
    FillRequired(*form);

    form->txtDateSold->setFocus();
    QTest::keyClicks(form->txtDateSold, "31/02/2021");
    // The click moves the focus out of the box and then saves: one message, not two.
    env.boxes.ExpectMessage(BoxAnswer::OK);
    ClickSave(*form);
    QCOMPARE(env.boxes.prompts(), QStringList{"Must be date value."});
    QCOMPARE(form->focusWidget(), form->txtDateSold);
    QCOMPARE(form->txtDateSold->text(), QString("31/02/2021"));
    QVERIFY(form->isVisible());
    QCOMPARE(QueryCount("select count(*) from Assets"), 0LL);

    form->txtDateSold->setText("2/28/2021");
    form->txtPurchasePrice->setFocus();
    QTest::keyClicks(form->txtPurchasePrice, "abc");
    form->txtDepreciableLife->setText("five");
    env.boxes.clear();
    form->PushButton1_Click();
    QCOMPARE(env.boxes.shown().size(), 0);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(form->txtPurchasePrice->text(), QString("0"));
    const QString id = QString::number(LastKey("Assets", "AssetID"));
    QCOMPARE(Stored("PurchasePrice", id), QString("0"));
    QCOMPARE(Stored("DepreciableLife", id), QString("0"));
    QCOMPARE(Stored("DateSold", id), QString("2/28/2021"));
}

void TestSave::hostileTextIsStoredExactly()
{
    TestEnvironment env;
    env.OpenDatabase();
    AddLookupRows();
    const QString hostile =
        QString::fromUtf8("O'Brien\"s; drop table Assets; -- ' or 1=1 -- Ünïcødé 日本語 Ελληνικά");
    const QString longText = QString(10000, QChar('x')) + "'";

    auto form = OpenEditor();
    FillRequired(*form);
    form->txtDescription->setPlainText(hostile);
    form->txtModelNo->setText(hostile);
    form->txtSerialNo->setText(longText);
    form->txtBarcodeNo->setText(";--");
    form->txtDeprMethod->setText(hostile + "\n");
    form->txtComments->setPlainText(longText + "\n" + hostile);
    ClickSave(*form);
    QCOMPARE(form->result(), int(QDialog::Accepted));

    const QString id = QString::number(LastKey("Assets", "AssetID"));
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
    QCOMPARE(Stored("AssetDescription", id), hostile);
    QCOMPARE(Stored("ModelNumber", id), hostile);
    QCOMPARE(Stored("SerialNumber", id), longText);
    QCOMPARE(Stored("BarcodeNumber", id), QString(";--"));
    QCOMPARE(Stored("DepreciationMethod", id), form->txtDeprMethod->text());
    QCOMPARE(Stored("Comments", id), longText + "\n" + hostile);

    // And back into the boxes unchanged.
    auto edit = OpenEditor(id);
    QCOMPARE(edit->txtDescription->toPlainText(), hostile);
    QCOMPARE(edit->txtSerialNo->text(), longText);
}

// Shown under a decimal-comma locale, a life of 2.5 reads "2,5"; read back by the
// number-from-text rule it was saved as 2 although nobody changed it.
void TestSave::unchangedSaveUnderADecimalCommaLocaleKeepsValues()
{
    TestEnvironment env("de_DE");
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AssetRow row(ids);
    row.purchase = "1234.5";
    row.salvage = "0.25";
    row.life = "2.5";
    const QString assetId = AddAsset(row);
    auto form = OpenEditor(assetId);
    ClickSave(*form);
    QCOMPARE(env.boxes.shown().size(), 0);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    // Read back in the locale's own text form.
    QCOMPARE(Stored("DepreciableLife", assetId), QString("2,5"));
    QCOMPARE(Stored("PurchasePrice", assetId), QString("1234,5"));
    QCOMPARE(Stored("SalvageValue", assetId), QString("0,25"));
}

QTEST_MAIN(TestSave)
#include "test_save.moc"
