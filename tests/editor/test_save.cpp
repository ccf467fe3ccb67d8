#include "editor/EditorFixture.h"

#include "platform/conv/Conv.h"

#include <QApplication>
#include <QFocusEvent>
#include <tuple>

// The leave-the-box rules, the copies of boxes on the pages, and saving.
class TestSave : public QObject
{
    Q_OBJECT

private slots:
    void entryRulesAndCopies();
    void insertAndUpdateStoreWhatTheBoxesHold();
    void checksRunInOrderWithFocusAndPage();
    void refusedStatementKeepsTheEditorOpen();
    void saveAppliesTheEntryRulesFirst();
    void typedNegativeAmountsKeepTheirSign();
};

namespace {

// Moves the focus as the Tab key would.
void Leave(QWidget* from, QWidget* to)
{
    from->setFocus(Qt::TabFocusReason);
    to->setFocus(Qt::TabFocusReason);
}

void ClickSave(Form4& form)
{
    QTest::mouseClick(form.PushButton[1], Qt::LeftButton);
}

// Each "Column=value" is what the asset's column holds.
void ExpectStored(const QString& assetId, const QStringList& columns)
{
    for (const QString& column : columns)
        QVERIFY2(Stored(column.section('=', 0, 0), assetId) == column.section('=', 1),
                 qPrintable(column));
}

} // namespace

// The copies on the pages follow every change; number boxes fall back to 0 when left, and
// date boxes refuse to be left without a date.
void TestSave::entryRulesAndCopies()
{
    TestEnvironment env;
    env.OpenDatabase();
    auto form = OpenEditor();
    // Typed key by key, or written by the program (the totals).
    const std::tuple<QLineEdit*, QLineEdit*, QString, bool> copies[] = {
        {form->txtPurchasePrice, form->txtPurchasePrice2, "$12.5", true},
        {form->txtNextSchedMaint, form->txtNextScheduled, "1/2", true},
        {form->txtTotalMaintenance, form->txtTotalMaintenance2, "$30.50", false},
        {form->txtTotalDepreciation, form->txtTotalDepreciation2, "$250.00", false},
    };
    for (const auto& [box, copy, text, typed] : copies) {
        box->setFocus();
        for (const QChar key : text) {
            typed ? QTest::keyClick(box, key.toLatin1()) : box->setText(box->text() + key);
            QCOMPARE(copy->text(), box->text());
        }
        box->clear();
        QCOMPARE(copy->text(), QString());
    }

    const QList<std::pair<QString, QString>> cases{
        {"", "0"},        {"abc", "0"},         {"12abc", "0"},
        {"99.5", "99.5"}, {" 12.5 ", " 12.5 "}, {"$1,234.50", "$1,234.50"},
    };
    for (QLineEdit* box : {form->txtPurchasePrice, form->txtCurrentValue, form->txtSalvageValue,
                           form->txtDepreciableLife}) {
        for (const auto& [typed, left] : cases) {
            box->setFocus();
            box->setText(typed);
            Leave(box, form->txtModelNo);
            QVERIFY2(box->text() == left, qPrintable(box->objectName() + ": " + typed));
        }
    }
    // Focus that goes to another window has not left the box.
    form->txtSalvageValue->setFocus();
    form->txtSalvageValue->setText("abc");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form->txtSalvageValue, &away);
    QCOMPARE(form->txtSalvageValue->text(), QString("abc"));
    QCOMPARE(env.boxes.shown().size(), 0);

    for (QLineEdit* box : {form->txtDateAcquired, form->txtDateSold, form->txtNextSchedMaint}) {
        env.boxes.clear();
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, "31/02/2021");
        env.boxes.ExpectMessage(BoxAnswer::OK);
        Leave(box, form->txtModelNo);
        QCOMPARE(env.boxes.prompts(), QStringList{"Must be date value."});
        QVERIFY(IsNotice(env.boxes.shown()[0]));
        QCOMPARE(form->focusWidget(), box);
        QCOMPARE(box->text(), QString("31/02/2021"));

        for (const QString& accepted : {QString(), QString("3/15/2021")}) {
            box->setText(accepted);
            Leave(box, form->txtModelNo);
            QCOMPARE(env.boxes.shown().size(), 1);
            QCOMPARE(form->focusWidget(), form->txtModelNo);
            QCOMPARE(box->text(), accepted);
        }
    }

    // Leaving one bad date box for another gives one message, not one for each.
    env.boxes.clear();
    form->txtDateSold->setText("not a date");
    form->txtDateAcquired->setText("31/02/2021");
    env.boxes.ExpectMessage(BoxAnswer::OK);
    Leave(form->txtDateAcquired, form->txtDateSold);
    QCOMPARE(env.boxes.prompts(), QStringList{"Must be date value."});
    QCOMPARE(form->focusWidget(), form->txtDateAcquired);

    // Cancel works with a bad date in the box.
    env.boxes.clear();
    QTest::mouseClick(form->PushButton[2], Qt::LeftButton);
    QCOMPARE(env.boxes.shown().size(), 0);
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QVERIFY(!form->isVisible());
}

// What the boxes hold is stored: empty number boxes as 0, empty date boxes as no date, the
// lists as their rows' keys; an update changes the asset in place.
void TestSave::insertAndUpdateStoreWhatTheBoxesHold()
{
    EditorCase c;
    auto form = OpenEditor();
    FillRequired(*form);
    ClickSave(*form);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
    const QString id = QString::number(LastKey("Assets", "AssetID"));
    QCOMPARE(QueryCount("select count(*) from Assets where DateAcquired is null and DateSold is "
                        "null and NextSchedMaint is null"),
             1LL);
    ExpectStored(id, {"PurchasePrice=0", "CurrentValue=0", "SalvageValue=0", "DepreciableLife=0",
                      "EmployeeID=" + QString::number(c.ids.annOBrien),
                      "AssetCategoryID=" + QString::number(c.ids.computers),
                      "StatusID=" + QString::number(c.ids.inUse),
                      "DepartmentID=" + QString::number(c.ids.sales),
                      "VendorID=" + QString::number(c.ids.acme), "AssetDescription=Pump",
                      "ModelNumber=M1", "DepreciationMethod=Straight line", "Comments=None"});
    QCOMPARE(c.env.boxes.shown().size(), 0);

    auto edit = OpenEditor(id);
    edit->txtDescription->setPlainText("   ");
    edit->txtPurchasePrice->setText("$1,234.50");
    edit->txtCurrentValue->setText("99.5");
    edit->txtSalvageValue->clear();
    edit->txtDateAcquired->setText("3/15/2021");
    Choose(edit->cboVendors, "Bolt");
    ClickSave(*edit);
    QCOMPARE(edit->result(), int(QDialog::Accepted));
    // A description of blanks passes the check.
    ExpectStored(id, {"AssetDescription=   ", "PurchasePrice=1234.5", "CurrentValue=99.5",
                      "SalvageValue=0", "DateAcquired=3/15/2021",
                      "VendorID=" + QString::number(c.ids.bolt), "ModelNumber=M1"});
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
    // Read again before closing.
    QCOMPARE(edit->txtPurchasePrice->text(), QString("$1,234.50"));
}

void TestSave::checksRunInOrderWithFocusAndPage()
{
    EditorCase c;
    auto form = OpenEditor();

    // Each round fills what the previous message asked for; only the first failing check
    // speaks.
    const struct
    {
        QString message;
        QWidget* focus;
        int page;
    } rounds[] = {
        {"select employee", form->cboEmployees, 0},
        {"select vendor", form->cboVendors, 0},
        {"select asset category", form->cboCategories, 0},
        {"select status", form->cboStatus, 0},
        {"select department", form->cboDepartment, 0},
        {"input description", form->txtDescription, 0},
        {"input Model Number", form->txtModelNo, 0},
        {"input Serial Number", form->txtSerialNo, 0},
        {"input Barcode Number", form->txtBarcodeNo, 0},
        {"input Depreciation Method", form->txtDeprMethod, 1},
        {"input Comments", form->txtComments, 2},
    };
    for (const auto& round : rounds) {
        form->SSTab1->setCurrentIndex(0);
        c.env.boxes.clear();
        c.env.boxes.ExpectMessage(BoxAnswer::OK);
        ClickSave(*form);
        QCOMPARE(c.env.boxes.prompts(), QStringList{"You forgot to " + round.message + "."});
        QVERIFY(IsNotice(c.env.boxes.shown()[0]));
        QCOMPARE(form->SSTab1->currentIndex(), round.page);
        QCOMPARE(form->focusWidget(), round.focus);
        QVERIFY(form->isVisible());
        QCOMPARE(QueryCount("select count(*) from Assets"), 0LL);
        if (auto* list = qobject_cast<QComboBox*>(round.focus))
            list->setCurrentIndex(0);
        else if (auto* area = qobject_cast<QPlainTextEdit*>(round.focus))
            area->setPlainText("x");
        else
            qobject_cast<QLineEdit*>(round.focus)->setText("x");
    }
    c.env.boxes.clear();
    ClickSave(*form);
    QCOMPARE(QueryCount("select count(*) from Assets"), 1LL);
}

// A refused statement used to be reported and the editor closed all the same, so the user's
// input was lost.
void TestSave::refusedStatementKeepsTheEditorOpen()
{
    EditorCase c;
    const QString assetId = AddAsset(AssetRow(c.ids));
    auto form = OpenEditor(assetId);
    form->txtDescription->setPlainText("Typed by the user");
    QVERIFY(RefuseOnAssets("update"));

    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    ClickSave(*form);
    QCOMPARE(c.env.boxes.shown().size(), 1);
    QVERIFY(ReportedAt(c.env.boxes.shown()[0], "PushButton1_Click", 104));
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
    EditorCase c;
    auto form = OpenEditor();
    FillRequired(*form);

    form->txtDateSold->setFocus();
    QTest::keyClicks(form->txtDateSold, "31/02/2021");
    // The click moves the focus out of the box and then saves: one message, not two.
    c.env.boxes.ExpectMessage(BoxAnswer::OK);
    ClickSave(*form);
    QCOMPARE(c.env.boxes.prompts(), QStringList{"Must be date value."});
    QCOMPARE(form->focusWidget(), form->txtDateSold);
    QCOMPARE(form->txtDateSold->text(), QString("31/02/2021"));
    QVERIFY(form->isVisible());
    QCOMPARE(QueryCount("select count(*) from Assets"), 0LL);

    form->txtDateSold->setText("2/28/2021");
    form->txtPurchasePrice->setFocus();
    QTest::keyClicks(form->txtPurchasePrice, "abc");
    form->txtDepreciableLife->setText("five");
    c.env.boxes.clear();
    form->PushButton1_Click();
    QCOMPARE(c.env.boxes.shown().size(), 0);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(form->txtPurchasePrice->text(), QString("0"));
    ExpectStored(QString::number(LastKey("Assets", "AssetID")),
                 {"PurchasePrice=0", "DepreciableLife=0", "DateSold=2/28/2021"});
}

// A negative amount as the user types it in the locale's forms keeps its sign: Save used to
// keep the part after the "$" only.
void TestSave::typedNegativeAmountsKeepTheirSign()
{
    const std::pair<const char*, const char*> typed[] = {
        {"en_US", "-$5.00"}, {"en_US", "($5.00)"}, {"fr_FR", "-5,00 $"}, {"de_DE", "-$5,00"}};
    for (const auto& [locale, text] : typed) {
        EditorCase c(locale);
        const QString assetId = AddAsset(AssetRow(c.ids));
        auto form = OpenEditor(assetId);
        for (QLineEdit* box :
             {form->txtPurchasePrice, form->txtCurrentValue, form->txtSalvageValue})
            box->setText(text);
        ClickSave(*form);
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(QueryCount("select count(*) from Assets where PurchasePrice=-5 and "
                            "CurrentValue=-5 and SalvageValue=-5"),
                 1LL);
    }
}

QTEST_MAIN(TestSave)
#include "test_save.moc"
