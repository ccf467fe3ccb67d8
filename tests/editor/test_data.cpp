#include "editor/EditorFixture.h"

class TestData : public QObject
{
    Q_OBJECT

private slots:
    void listsAreOrderedAndParallelToTheirIds();
    void everyStoredValueIsShown();
    void depreciationBasisAndNullValues();
    void nullLookupValueIsReportedAndTheRestShown();
};

void TestData::listsAreOrderedAndParallelToTheirIds()
{
    EditorCase c;
    const LookupIds& ids = c.ids;
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
    QVERIFY(form->cboVendors->count() == 2 && form->m_VendorIDs.size() == 2);
    QCOMPARE(form->cboVendors->currentIndex(), -1);
}

void TestData::everyStoredValueIsShown()
{
    EditorCase c;
    AssetRow row(c.ids);
    row.employee = c.ids.johnSmith;
    row.vendor = c.ids.bolt;
    row.status = c.ids.retired;
    row.acquired = "'3/15/2021'";
    row.next = "'1/10/2027'";
    row.purchase = "CCur('1234.5')";
    row.salvage = "CCur('100')";
    row.comments = "'Kept in the yard'";
    const QString assetId = AddAsset(row);
    AddDepreciation(assetId, "250");
    AddMaintenance(assetId, "10.5");
    auto form = OpenEditor(assetId);

    const std::pair<QWidget*, QString> shown[] = {
        {form->cboEmployees, "Smith, John"},
        {form->cboVendors, "Bolt"},
        {form->cboCategories, "Computers"},
        {form->cboStatus, "Retired"},
        {form->cboDepartment, "Sales"},
        {form->txtDescription, "Pump"},
        {form->txtDateAcquired, "3/15/2021"},
        {form->txtDateSold, ""},
        {form->txtNextSchedMaint, "1/10/2027"},
        {form->txtNextScheduled, "1/10/2027"},
        {form->txtModelNo, "M1"},
        {form->txtSerialNo, "S1"},
        {form->txtBarcodeNo, "B1"},
        {form->txtPurchasePrice, "$1,234.50"},
        {form->txtPurchasePrice2, "$1,234.50"},
        {form->txtCurrentValue, "$700.00"},
        {form->txtSalvageValue, "$100.00"},
        {form->txtDeprMethod, "SL"},
        {form->txtDepreciableLife, "5"},
        {form->txtComments, "Kept in the yard"},
        {form->txtTotalDepreciation2, "$250.00"},
        {form->txtTotalMaintenance2, "$10.50"},
        {form->txtDepreciationBasis, "$884.50"},
    };
    for (const auto& [control, text] : shown)
        QVERIFY2(Shown(control) == text, qPrintable(control->objectName()));
    QVERIFY(form->ListView1->ItemCount() == 1 && form->ListView2->ItemCount() == 1);
}

void TestData::depreciationBasisAndNullValues()
{
    EditorCase c;
    const QString first = AddAsset(AssetRow(c.ids));
    AddDepreciation(first, "100");
    AddDepreciation(first, "150");
    AssetRow withSalvage(c.ids);
    withSalvage.salvage = "CCur('100')";
    const QString second = AddAsset(withSalvage);
    AddDepreciation(second, "250");
    AssetRow nulls(c.ids);
    nulls.purchase = nulls.current = nulls.life = "null";
    const QString third = AddAsset(nulls);

    QCOMPARE(OpenEditor(first)->txtDepreciationBasis->text(), QString("$550.00"));
    QCOMPARE(OpenEditor(second)->txtDepreciationBasis->text(), QString("$450.00"));
    auto form = OpenEditor(third);
    QCOMPARE(form->txtDepreciableLife->text(), QString("0"));
    for (QLineEdit* box : {form->txtPurchasePrice, form->txtCurrentValue, form->txtSalvageValue,
                           form->txtDepreciationBasis, form->txtTotalDepreciation})
        QVERIFY2(box->text() == "$0.00", qPrintable(box->objectName()));
}

void TestData::nullLookupValueIsReportedAndTheRestShown()
{
    EditorCase c;
    g_Conn->Execute("insert into Employees (LastName) values ('Nameless')");
    AssetRow row(c.ids);
    row.employee = LastKey("Employees", "EmployeeID");
    const QString assetId = AddAsset(row);

    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    auto form = OpenEditor(assetId);
    QCOMPARE(c.env.boxes.shown().size(), 1);
    QVERIFY(ReportedAt(c.env.boxes.shown()[0], "SetData", 102));
    // The nameless employee still has its entry, so the lists stay parallel to their ids.
    QCOMPARE(form->cboEmployees->count(), form->m_EmployeeIDs.size());
    QCOMPARE(form->cboEmployees->currentIndex(), -1);
    QCOMPARE(form->cboVendors->currentText(), QString("Acme"));
    QCOMPARE(form->txtDepreciationBasis->text(), QString("$800.00"));
}

QTEST_MAIN(TestData)
#include "test_data.moc"
