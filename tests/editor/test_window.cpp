#include "editor/EditorFixture.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <cmath>

namespace {

// The contrast ratio of two colours as the accessibility guidelines (WCAG) define it.
double Contrast(const QColor& a, const QColor& b)
{
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace

// The editor's controls and what it shows of a stored asset.
class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void controlsTheirKindsNamesAndPlaces();
    void cancelSavesNothingAndAddShowsNothing();
    void listsAreOrderedAndParallelToTheirIds();
    void everyStoredValueIsShown();
    void depreciationBasisAndNullValues();
    void nullLookupValueIsReportedAndTheRestShown();
    void keyboardAloneReachesEveryControlOfEachPage();
};

void TestWindow::controlsTheirKindsNamesAndPlaces()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();

    // Only the boxes the program fills are closed to typing.
    const QStringList displayOnly{"txtTotalMaintenance", "txtTotalDepreciation",
                                  "txtNextScheduled",    "txtTotalMaintenance2",
                                  "txtPurchasePrice2",   "txtTotalDepreciation2",
                                  "txtDepreciationBasis"};
    const QList<QLineEdit*> boxes = form->findChildren<QLineEdit*>(QRegularExpression("^txt"));
    QCOMPARE(boxes.size(), 18);
    for (QLineEdit* box : boxes) {
        QCOMPARE(box->isEnabled(), !displayOnly.contains(box->objectName()));
        if (box->isEnabled())
            continue;
        // They still read clearly: the text against the box, as a disabled box paints them.
        const QPalette& p = box->palette();
        const double contrast = Contrast(p.color(QPalette::Disabled, QPalette::Text),
                                         p.color(QPalette::Disabled, QPalette::Base));
        QVERIFY2(contrast >= 4.5, qPrintable(box->objectName() + QString(" %1:1").arg(contrast)));
    }
    for (QComboBox* list : form->findChildren<QComboBox*>())
        QVERIFY(!list->isEditable() && list->currentIndex() == -1);

    // A control is named by its caption, a box by the label beside it, an unlabelled box or
    // list by its page.
    const std::pair<QWidget*, QString> names[] = {
        {form->cboDepartment, "Dept."},
        {form->txtCurrentValue, "Current Value"},
        {form->txtDepreciationBasis, "Depreciation Basis:"},
        {form->txtNextScheduled, "Next Scheduled Maintenance:"},
        {form->txtComments, "Comments"},
        {form->ListView2, "Depreciation"},
        {form->SSTab1->widget(0), "Maintenance"},
        {form->PushButton[9], "Delete Selected"},
        {form->PushButton[19], "-"},
        {form->lblDetails[0], "Employee"}};
    for (const auto& [control, name] : names)
        QCOMPARE(control->accessibleName(), name);
    const QRegularExpression designNames(
        "^(txt|cbo|ListView|PushButton|lblDetails|Label1|SSTab1_)");
    for (QWidget* control : form->findChildren<QWidget*>(designNames))
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));

    // Controls on the pages are designed relative to the whole tab control, strip included;
    // each must lie inside its page. The comments box's design reaches 15 twips past the tab
    // control, so a few pixels of the frame may be covered. A caption sits on its page with
    // no patch of another colour around it.
    QTabWidget* tabs = form->SSTab1;
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QWidget* pageWidget = tabs->widget(page);
        const QImage shown = form->grab().toImage();
        for (QWidget* child : pageWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(pageWidget->rect().adjusted(0, 0, 4, 4).contains(child->geometry()),
                     qPrintable(child->objectName()));
            if (auto* label = qobject_cast<QLabel*>(child)) {
                const QPoint corner = label->mapTo(form.get(), QPoint(0, 0));
                QCOMPARE(shown.pixelColor(corner), shown.pixelColor(corner - QPoint(1, 0)));
            }
        }
    }
    // The key column is present but in effect hidden.
    for (auto [list, columns] : {std::pair{form->ListView1, 5}, std::pair{form->ListView2, 3}}) {
        QCOMPARE(list->ColumnCount(), columns);
        QVERIFY(list->ColumnWidth(0) <= 15);
        QVERIFY(qAbs(list->ColumnWidth(1) - (columns == 5 ? 1500 : 2000)) <= 15);
    }
}

void TestWindow::cancelSavesNothingAndAddShowsNothing()
{
    EditorCase c;
    const QString assetId = AddAsset(AssetRow(c.ids));
    {
        auto edit = OpenEditor(assetId);
        edit->txtDescription->setPlainText("Changed");
        QTest::mouseClick(edit->PushButton[2], Qt::LeftButton);
        QCOMPARE(edit->result(), int(QDialog::Rejected));
        QVERIFY(!edit->isVisible());
    }
    QCOMPARE(Stored("AssetDescription", assetId), QString("Pump"));

    // Adding after an edit shows nothing of the asset edited before.
    auto add = OpenEditor();
    for (QComboBox* list : add->findChildren<QComboBox*>())
        QVERIFY(list->currentIndex() == -1 && list->count() == 2);
    for (QWidget* box : QList<QWidget*>{add->txtDescription, add->txtPurchasePrice, add->txtModelNo,
                                        add->txtComments})
        QVERIFY(Shown(box).isEmpty());
    QCOMPARE(add->ListView1->ItemCount(), 0);
}

void TestWindow::listsAreOrderedAndParallelToTheirIds()
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

void TestWindow::everyStoredValueIsShown()
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

    // Each "name=text" is what the control of that name shows.
    const QString shown =
        "cboEmployees=Smith, John|cboVendors=Bolt|cboCategories=Computers|"
        "cboStatus=Retired|cboDepartment=Sales|txtDescription=Pump|"
        "txtDateAcquired=3/15/2021|txtDateSold=|txtNextSchedMaint=1/10/2027|"
        "txtNextScheduled=1/10/2027|txtModelNo=M1|txtSerialNo=S1|txtBarcodeNo=B1|"
        "txtPurchasePrice=$1,234.50|txtPurchasePrice2=$1,234.50|txtCurrentValue=$700.00|"
        "txtSalvageValue=$100.00|txtDeprMethod=SL|txtDepreciableLife=5|"
        "txtComments=Kept in the yard|txtTotalDepreciation2=$250.00|"
        "txtTotalMaintenance2=$10.50|txtDepreciationBasis=$884.50";
    for (const QString& expected : shown.split('|')) {
        const QString name = expected.section('=', 0, 0);
        QVERIFY2(Shown(form->findChild<QWidget*>(name)) == expected.section('=', 1),
                 qPrintable(name));
    }
    QVERIFY(form->ListView1->ItemCount() == 1 && form->ListView2->ItemCount() == 1);
}

// A null salvage value counts as none, every depreciation entry counts; null money shows as
// $0.00.
void TestWindow::depreciationBasisAndNullValues()
{
    EditorCase c;
    const QString first = AddAsset(AssetRow(c.ids));
    AddDepreciation(first, "100");
    AddDepreciation(first, "150");
    AssetRow nulls(c.ids);
    nulls.purchase = nulls.current = nulls.life = "null";
    const QString nullMoney = AddAsset(nulls);

    QCOMPARE(OpenEditor(first)->txtDepreciationBasis->text(), QString("$550.00"));
    auto form = OpenEditor(nullMoney);
    QCOMPARE(form->txtDepreciableLife->text(), QString("0"));
    for (QLineEdit* box : {form->txtPurchasePrice, form->txtCurrentValue, form->txtSalvageValue,
                           form->txtDepreciationBasis, form->txtTotalDepreciation})
        QVERIFY2(box->text() == "$0.00", qPrintable(box->objectName()));
}

void TestWindow::nullLookupValueIsReportedAndTheRestShown()
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

// Tab visits the controls in the design's order, skipping the display-only boxes and the
// pages not shown; the arrow keys on the tab strip change the page, and Space presses a
// button.
void TestWindow::keyboardAloneReachesEveryControlOfEachPage()
{
    EditorCase c;
    auto form = OpenEditor(AddAsset(AssetRow(c.ids)));
    form->cboEmployees->setFocus();
    const QStringList top{"cboEmployees",     "cboVendors",      "cboCategories",
                          "cboStatus",        "cboDepartment",   "txtNextSchedMaint",
                          "txtDescription",   "txtDateAcquired", "txtDateSold",
                          "txtModelNo",       "txtSerialNo",     "txtBarcodeNo",
                          "txtPurchasePrice", "txtCurrentValue"};
    const QStringList foot{"PushButton1",  "PushButton2",  "PushButton10", "PushButton11",
                           "PushButton12", "PushButton13", "PushButton14", "PushButton15",
                           "PushButton16", "PushButton17", "PushButton18", "PushButton19"};
    const QStringList pages[] = {{"ListView1", "PushButton4", "PushButton5", "PushButton6"},
                                 {"txtDeprMethod", "txtDepreciableLife", "txtSalvageValue",
                                  "ListView2", "PushButton7", "PushButton8", "PushButton9"},
                                 {"txtComments"}};
    const QString strip = form->SSTab1->tabBar()->objectName();
    for (int page = 0; page < 3; ++page) {
        QCOMPARE(form->SSTab1->currentIndex(), page);
        const QStringList expected =
            top + QStringList{strip} + pages[page] + foot + QStringList{"cboEmployees"};
        QCOMPARE(TabWalk(int(expected.size()) - 1), expected);
        form->SSTab1->tabBar()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->SSTab1->tabBar(), Qt::Key_Right);
        form->cboEmployees->setFocus();
    }
    QTest::keyClick(form->cboEmployees, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), form->PushButton[19]);
    QCOMPARE(c.env.boxes.shown().size(), 0);
    form->PushButton[2]->setFocus();
    QTest::keyClick(form->PushButton[2], Qt::Key_Space);
    QVERIFY(!form->isVisible());
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
