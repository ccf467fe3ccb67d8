#include "editor/EditorFixture.h"

#include "platform/conv/Conv.h"

class TestData : public QObject
{
    Q_OBJECT

private slots:
    void listsAreOrderedAndParallelToTheirIds();
    void everyStoredValueIsShown();
    void depreciationBasisAndNullValues();
    void moneyAndLifeUnderADecimalCommaLocale();
    void nullLookupValueIsReportedAndTheRestShown();
};

void TestData::listsAreOrderedAndParallelToTheirIds()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    g_Conn->Execute("insert into Employees (FirstName,LastName) values ('Al','Smith')");
    const long long alSmith = LastKey("Employees", "EmployeeID");
    auto form = OpenEditor();

    QStringList employees;
    for (int i = 0; i < form->cboEmployees->count(); ++i)
        employees << form->cboEmployees->itemText(i);
    QCOMPARE(employees, QStringList({"O'Brien, Ann", "Smith, Al", "Smith, John"}));
    QCOMPARE(form->m_EmployeeIDs, QList<long long>({ids.annOBrien, alSmith, ids.johnSmith}));
    QCOMPARE(form->cboVendors->itemText(0), QString("Acme"));
    QCOMPARE(form->m_VendorIDs, QList<long long>({ids.acme, ids.bolt}));
    QCOMPARE(form->m_CategoryIDs, QList<long long>({ids.computers, ids.printers}));
    QCOMPARE(form->m_StatusIDs, QList<long long>({ids.inUse, ids.retired}));
    QCOMPARE(form->m_DepartmentIDs, QList<long long>({ids.sales, ids.works}));

    // A loader run again rebuilds both lists from scratch and leaves no selection.
    Choose(form->cboVendors, "Bolt");
    form->LoadVendor();
    QCOMPARE(form->cboVendors->count(), 2);
    QCOMPARE(form->m_VendorIDs.size(), 2);
    QCOMPARE(form->cboVendors->currentIndex(), -1);
}

void TestData::everyStoredValueIsShown()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AssetRow row(ids);
    row.employee = ids.johnSmith;
    row.vendor = ids.bolt;
    row.status = ids.retired;
    row.acquired = "'3/15/2021'";
    row.next = "'1/10/2027'";
    row.purchase = "CCur('1234.5')";
    row.salvage = "CCur('100')";
    row.comments = "'Kept in the yard'";
    const QString assetId = AddAsset(row);
    AddDepreciation(assetId, "250");
    AddMaintenance(assetId, "10.5");
    auto form = OpenEditor(assetId);

    QCOMPARE(form->m_AssetID, assetId);
    QCOMPARE(form->cboEmployees->currentText(), QString("Smith, John"));
    QCOMPARE(form->cboVendors->currentText(), QString("Bolt"));
    QCOMPARE(form->cboCategories->currentText(), QString("Computers"));
    QCOMPARE(form->cboStatus->currentText(), QString("Retired"));
    QCOMPARE(form->cboDepartment->currentText(), QString("Sales"));
    QCOMPARE(form->txtDescription->toPlainText(), QString("Pump"));
    QCOMPARE(form->txtDateAcquired->text(), QString("3/15/2021"));
    QCOMPARE(form->txtDateSold->text(), QString());
    QCOMPARE(form->txtNextSchedMaint->text(), QString("1/10/2027"));
    QCOMPARE(form->txtNextScheduled->text(), QString("1/10/2027"));
    QCOMPARE(form->txtModelNo->text(), QString("M1"));
    QCOMPARE(form->txtSerialNo->text(), QString("S1"));
    QCOMPARE(form->txtBarcodeNo->text(), QString("B1"));
    QCOMPARE(form->txtPurchasePrice->text(), QString("$1,234.50"));
    QCOMPARE(form->txtPurchasePrice2->text(), QString("$1,234.50"));
    QCOMPARE(form->txtCurrentValue->text(), QString("$700.00"));
    QCOMPARE(form->txtSalvageValue->text(), QString("$100.00"));
    QCOMPARE(form->txtDeprMethod->text(), QString("SL"));
    QCOMPARE(form->txtDepreciableLife->text(), QString("5"));
    QCOMPARE(form->txtComments->toPlainText(), QString("Kept in the yard"));
    QCOMPARE(form->ListView1->ItemCount(), 1);
    QCOMPARE(form->ListView2->ItemCount(), 1);
    QCOMPARE(form->txtTotalDepreciation2->text(), QString("$250.00"));
    QCOMPARE(form->txtTotalMaintenance2->text(), QString("$10.50"));
    QCOMPARE(form->txtDepreciationBasis->text(), QString("$884.50"));
}

void TestData::depreciationBasisAndNullValues()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AssetRow noSalvage(ids);
    const QString first = AddAsset(noSalvage);
    AddDepreciation(first, "100");
    AddDepreciation(first, "150");
    AssetRow withSalvage(ids);
    withSalvage.salvage = "CCur('100')";
    const QString second = AddAsset(withSalvage);
    AddDepreciation(second, "250");
    AssetRow nulls(ids);
    nulls.purchase = "null";
    nulls.current = "null";
    nulls.life = "null";
    const QString third = AddAsset(nulls);

    QCOMPARE(OpenEditor(first)->txtDepreciationBasis->text(), QString("$550.00"));
    QCOMPARE(OpenEditor(second)->txtDepreciationBasis->text(), QString("$450.00"));

    auto form = OpenEditor(third);
    QCOMPARE(form->txtDepreciableLife->text(), QString("0"));
    QCOMPARE(form->txtPurchasePrice->text(), QString("$0.00"));
    QCOMPARE(form->txtCurrentValue->text(), QString("$0.00"));
    QCOMPARE(form->txtSalvageValue->text(), QString("$0.00"));
    QCOMPARE(form->txtDepreciationBasis->text(), QString("$0.00"));
    QCOMPARE(form->txtTotalDepreciation->text(), QString("$0.00"));
}

// The locale's text form of 1234.5 is "1234,5" here; read back by the number-from-text rule
// it would show $1,234.00 and a life of 2.5 would show 2.
void TestData::moneyAndLifeUnderADecimalCommaLocale()
{
    TestEnvironment env("de_DE");
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AssetRow row(ids);
    row.purchase = "1234.5";
    row.life = "2.5";
    const QString assetId = AddAsset(row);
    auto form = OpenEditor(assetId);

    QCOMPARE(form->txtPurchasePrice->text(), FormatMoney(Currency::FromTenThousandths(12345000)));
    QVERIFY(form->txtPurchasePrice->text() != FormatMoney(Currency::FromTenThousandths(12340000)));
    QCOMPARE(form->txtDepreciableLife->text(), QString("2,5"));
    QCOMPARE(form->txtDepreciationBasis->text(),
             FormatMoney(Currency::FromTenThousandths(12345000)));
}

void TestData::nullLookupValueIsReportedAndTheRestShown()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    g_Conn->Execute("insert into Employees (LastName) values ('Nameless')");
    AssetRow row(ids);
    row.employee = LastKey("Employees", "EmployeeID");
    const QString assetId = AddAsset(row);

    env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = OpenEditor(assetId);
    QCOMPARE(env.boxes.shown().size(), 1);
    QCOMPARE(env.boxes.shown()[0].request.title, QString("Application Error"));
    QVERIFY2(env.boxes.shown()[0].request.prompt.contains(ErrorLocation("SetData", 102)),
             qPrintable(env.boxes.shown()[0].request.prompt));
    // The nameless employee still has its entry, so the lists stay parallel to their ids.
    QCOMPARE(form->cboEmployees->count(), form->m_EmployeeIDs.size());
    QCOMPARE(form->cboEmployees->currentIndex(), -1);
    QCOMPARE(form->cboVendors->currentText(), QString("Acme"));
    QCOMPARE(form->txtDescription->toPlainText(), QString("Pump"));
    QCOMPARE(form->txtDepreciationBasis->text(), QString("$800.00"));
}

QTEST_MAIN(TestData)
#include "test_data.moc"
