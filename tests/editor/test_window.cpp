#include "editor/EditorFixture.h"

#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTabWidget>

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void controlsHaveTheirDesignNamesKindsAndCaptions();
    void geometryFollowsTheDesign();
    void keyboardOrderOfTheMainFields();
    void addModeShowsNothingAndCancelSavesNothing();
    void pointerOverButtonsAndLists();
    void screenshotsOfEachPage();
};

void TestWindow::controlsHaveTheirDesignNamesKindsAndCaptions()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    QCOMPARE(form->windowTitle(), QString("Add New Asset"));
    QCOMPARE(form->font().family(), QString("Arial"));

    // Only the boxes the program fills are closed to typing.
    const QStringList displayOnly{"txtTotalMaintenance", "txtTotalDepreciation",
                                  "txtNextScheduled",    "txtTotalMaintenance2",
                                  "txtPurchasePrice2",   "txtTotalDepreciation2",
                                  "txtDepreciationBasis"};
    const QList<QLineEdit*> boxes = form->findChildren<QLineEdit*>(QRegularExpression("^txt"));
    QCOMPARE(boxes.size(), 18);
    for (QLineEdit* box : boxes) {
        QCOMPARE(box->isEnabled(), !displayOnly.contains(box->objectName()));
        QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
    }
    QCOMPARE(form->txtDepreciationBasis->accessibleName(), QString("Depreciation Basis:"));
    QCOMPARE(form->txtCurrentValue->accessibleName(), QString("Current Value"));
    for (QComboBox* list : form->findChildren<QComboBox*>()) {
        QVERIFY(!list->isEditable());
        QCOMPARE(list->currentIndex(), -1);
    }
    QCOMPARE(form->cboDepartment->accessibleName(), QString("Dept."));
    QCOMPARE(Control<QPushButton>(*form, "PushButton9")->text(), QString("Delete Selected"));
    QCOMPARE(Control<QPushButton>(*form, "PushButton19")->text(), QString("-"));

    auto* tabs = Control<QTabWidget>(*form, "SSTab1");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(1), QString("Depreciation"));
    QCOMPARE(tabs->currentIndex(), 0);

    // The key column is present but in effect hidden.
    for (auto [name, columns] : {std::pair{"ListView1", 5}, std::pair{"ListView2", 3}}) {
        auto* list = Control<ListView>(*form, name);
        QCOMPARE(list->ColumnCount(), columns);
        QVERIFY(list->ColumnWidth(0) <= 15);
        QVERIFY(qAbs(list->ColumnWidth(1) - (columns == 5 ? 1500 : 2000)) <= 15);
    }
    QCOMPARE(form->ListView1->model()->headerData(4, Qt::Horizontal).toString(), QString("Cost"));
}

void TestWindow::geometryFollowsTheDesign()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();

    auto near = [](double twips, double design) { return qAbs(twips - design) <= 30; };
    QVERIFY(near(PixelsToTwips(form->width()), 8040));
    QVERIFY(near(PixelsToTwips(form->height()), 8760));

    const struct
    {
        const char* name;
        double left, top, width, height;
    } design[] = {
        {"cboEmployees", 1080, 165, 2640, 345},    {"PushButton13", 4320, 765, 360, 345},
        {"txtDescription", 1200, 3600, 2520, 705}, {"txtTotalDepreciation", 6360, 3960, 1560, 345},
        {"SSTab1", 120, 4380, 7815, 3750},         {"PushButton2", 4080, 8250, 3850, 405},
    };
    for (const auto& d : design) {
        const QRect r = Control<QWidget>(*form, d.name)->geometry();
        QVERIFY2(near(PixelsToTwips(r.x()), d.left) && near(PixelsToTwips(r.y()), d.top) &&
                     near(PixelsToTwips(r.width()), d.width) &&
                     near(PixelsToTwips(r.height()), d.height),
                 d.name);
    }

    // Every control of a tab page lies inside its page; the comments box's design reaches 15
    // twips past the tab control, so a few pixels of the frame may be covered.
    auto* tabs = Control<QTabWidget>(*form, "SSTab1");
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QWidget* pageWidget = tabs->widget(page);
        for (QWidget* child : pageWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(pageWidget->rect().adjusted(0, 0, 4, 4).contains(child->geometry()),
                     qPrintable(child->objectName()));
    }
}

void TestWindow::keyboardOrderOfTheMainFields()
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
}

void TestWindow::addModeShowsNothingAndCancelSavesNothing()
{
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    const QString assetId = AddAsset(AssetRow(ids));

    {
        auto edit = OpenEditor(assetId);
        QCOMPARE(edit->txtDescription->toPlainText(), QString("Pump"));
        edit->txtDescription->setPlainText("Changed");
        QTest::mouseClick(Control<QPushButton>(*edit, "PushButton2"), Qt::LeftButton);
        QCOMPARE(edit->result(), int(QDialog::Rejected));
        QVERIFY(!edit->isVisible());
    }
    QCOMPARE(Stored("AssetDescription", assetId), QString("Pump"));

    // Adding after an edit shows nothing of the asset edited before.
    auto add = OpenEditor();
    for (QComboBox* list : {add->cboEmployees, add->cboVendors, add->cboCategories, add->cboStatus,
                            add->cboDepartment}) {
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->count(), 2);
    }
    QVERIFY(add->txtDescription->toPlainText().isEmpty());
    QVERIFY(add->txtPurchasePrice->text().isEmpty());
    QVERIFY(add->txtModelNo->text().isEmpty());
    QCOMPARE(add->ListView1->ItemCount(), 0);
    QCOMPARE(add->m_AssetID, QString());
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
    for (int n : {1, 2, 4, 9, 10, 19}) {
        moveOver(form->PushButton[n]);
        QCOMPARE(form->Pointer->Pointer(), MousePointer::Custom);
        moveOver(n % 2 ? static_cast<QWidget*>(form->ListView1) : form.get());
        QCOMPARE(form->Pointer->Pointer(), MousePointer::Default);
    }
    form->Pointer->SetPointer(MousePointer::Hourglass);
    moveOver(form->PushButton[1]);
    QCOMPARE(form->Pointer->Pointer(), MousePointer::Hourglass);
}

// With TARNWICK_SCREENSHOTS naming a folder, writes one picture of the editor per tab page.
void TestWindow::screenshotsOfEachPage()
{
    const QString folder = qEnvironmentVariable("TARNWICK_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("TARNWICK_SCREENSHOTS is not set");
    TestEnvironment env;
    env.OpenDatabase();
    const LookupIds ids = AddLookupRows();
    AssetRow row(ids);
    row.acquired = "'3/15/2021'";
    row.next = "'1/10/2027'";
    row.salvage = "CCur('100')";
    const QString assetId = AddAsset(row);
    AddMaintenance(assetId, "10.5");
    AddMaintenance(assetId, "20");
    AddDepreciation(assetId, "250");
    auto form = OpenEditor(assetId);
    QDir().mkpath(folder);
    auto* tabs = Control<QTabWidget>(*form, "SSTab1");
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QTest::qWait(50);
        QVERIFY(form->grab().save(folder + "/editor_" + tabs->tabText(page) + ".png"));
    }
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
