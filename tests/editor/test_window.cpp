#include "editor/EditorFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTabWidget>

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void controlsTheirKindsAndAccessibleNames();
    void keyboardOrderAndPagesHoldingTheirControls();
    void cancelSavesNothingAndAddShowsNothing();
    void pointerOverButtonsAndLists();
};

void TestWindow::controlsTheirKindsAndAccessibleNames()
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
    for (QLineEdit* box : boxes)
        QCOMPARE(box->isEnabled(), !displayOnly.contains(box->objectName()));
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
        {form->lblDetails[0], "Employee"},
    };
    for (const auto& [control, name] : names)
        QCOMPARE(control->accessibleName(), name);
    const QRegularExpression designNames(
        "^(txt|cbo|ListView|PushButton|lblDetails|Label1|SSTab1_)");
    for (QWidget* control : form->findChildren<QWidget*>(designNames))
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));

    // The key column is present but in effect hidden.
    for (auto [list, columns] : {std::pair{form->ListView1, 5}, std::pair{form->ListView2, 3}}) {
        QCOMPARE(list->ColumnCount(), columns);
        QVERIFY(list->ColumnWidth(0) <= 15);
        QVERIFY(qAbs(list->ColumnWidth(1) - (columns == 5 ? 1500 : 2000)) <= 15);
    }
}

void TestWindow::keyboardOrderAndPagesHoldingTheirControls()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();

    const QStringList expected{
        "cboEmployees",     "cboVendors",        "cboCategories",       "cboStatus",
        "cboDepartment",    "txtNextSchedMaint", "txtDescription",      "txtDateAcquired",
        "txtDateSold",      "txtModelNo",        "txtSerialNo",         "txtBarcodeNo",
        "txtPurchasePrice", "txtCurrentValue",   "txtTotalMaintenance", "txtTotalDepreciation"};
    QStringList chain;
    QWidget* w = form->cboEmployees;
    do {
        if (expected.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != form->cboEmployees);
    QCOMPARE(chain, expected);

    // Controls on the pages are designed relative to the whole tab control, strip included;
    // each must lie inside its page. The comments box's design reaches 15 twips past the tab
    // control, so a few pixels of the frame may be covered.
    QTabWidget* tabs = form->SSTab1;
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QWidget* pageWidget = tabs->widget(page);
        for (QWidget* child : pageWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(pageWidget->rect().adjusted(0, 0, 4, 4).contains(child->geometry()),
                     qPrintable(child->objectName()));
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

void TestWindow::pointerOverButtonsAndLists()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    auto moveOver = [](QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    };
    for (int n : {1, 4, 19}) {
        moveOver(form->PushButton[n]);
        QCOMPARE(form->Pointer->Pointer(), MousePointer::Custom);
        moveOver(n % 2 ? static_cast<QWidget*>(form->ListView1) : form.get());
        QCOMPARE(form->Pointer->Pointer(), MousePointer::Default);
    }
    form->Pointer->SetPointer(MousePointer::Hourglass);
    moveOver(form->PushButton[1]);
    QCOMPARE(form->Pointer->Pointer(), MousePointer::Hourglass);
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
