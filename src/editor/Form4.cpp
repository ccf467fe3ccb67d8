#include "editor/Form4.h"

#include "common/Window.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

struct Rect
{
    double left, top, width, height;
};

// Places a control by its design rectangle. Controls on the tab pages are designed relative
// to the whole tab control, strip included; the page starts below the strip.
void Place(QWidget& control, const Rect& r, double stripTwips = 0)
{
    SetTwipsGeometry(control, r.left, r.top - stripTwips, r.width, r.height);
}

QLabel* AddLabel(QWidget& parent, QList<QLabel*>& array, const char* arrayName,
                 const QString& caption, const Rect& r, double stripTwips = 0)
{
    auto* label = new QLabel(caption, &parent);
    label->setObjectName(arrayName);
    Place(*label, r, stripTwips);
    array.append(label);
    return label;
}

// The label beside a box is its buddy, which also gives the box its accessible name.
template <typename Box>
Box* AddBox(QWidget& parent, const char* name, QLabel* beside, const Rect& r, double stripTwips = 0)
{
    auto* box = new Box(&parent);
    box->setObjectName(name);
    if (beside)
        beside->setBuddy(box);
    Place(*box, r, stripTwips);
    return box;
}

QLineEdit* AddDisplayBox(QWidget& parent, const char* name, QLabel* beside, const Rect& r,
                         double stripTwips)
{
    auto* box = AddBox<QLineEdit>(parent, name, beside, r, stripTwips);
    box->setEnabled(false);
    // Closed to typing, but there to be read: the text keeps the colour of an open box's.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    box->setPalette(palette);
    return box;
}

QPlainTextEdit* AddMultiLineBox(QWidget& parent, const char* name, QLabel* beside, const Rect& r,
                                double stripTwips = 0)
{
    auto* box = AddBox<QPlainTextEdit>(parent, name, beside, r, stripTwips);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in every other box of the window.
    box->setTabChangesFocus(true);
    return box;
}

QComboBox* AddLookupList(QWidget& parent, const char* name, QLabel* beside, double top)
{
    auto* list = AddBox<QComboBox>(parent, name, beside, {1080, top, 2640, 345});
    list->setEditable(false);
    return list;
}

QPushButton* AddButton(QWidget& parent, const QString& name, const QString& caption, const Rect& r,
                       double stripTwips = 0)
{
    auto* button = new QPushButton(caption, &parent);
    button->setObjectName(name);
    // Enter in a box never presses a button by itself.
    button->setAutoDefault(false);
    Place(*button, r, stripTwips);
    return button;
}

// A history pane's list and its Add New / Edit Selected / Delete Selected buttons, numbered
// from firstButton, along the page's bottom.
ListView* AddHistoryPane(QWidget& page, const char* name, const Rect& r, QPushButton* buttons[3],
                         int firstButton, double stripTwips)
{
    auto* list = new ListView(&page);
    list->setObjectName(name);
    Place(*list, r, stripTwips);
    const struct
    {
        const char* caption;
        Rect rect;
    } commands[] = {{"Add New", {120, 3210, 2400, 405}},
                    {"Edit Selected", {2640, 3210, 2400, 405}},
                    {"Delete Selected", {5160, 3210, 2520, 405}}};
    for (int i = 0; i < 3; ++i)
        buttons[i] = AddButton(page, QString("PushButton%1").arg(firstButton + i),
                               commands[i].caption, commands[i].rect, stripTwips);
    return list;
}

} // namespace

Form4::Form4(QWidget* parent) : QDialog(parent)
{
    BuildControls();
}

Form4::~Form4() = default;

void Form4::BuildControls()
{
    setFont(ArialFont(8, false));
    SetClientSizeTwips(*this, 8040, 8760);

    BuildMainArea();

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");
    Place(*SSTab1, {120, 4380, 7815, 3750});
    const QStringList pages{"Maintenance", "Depreciation", "Comments"};
    QList<QWidget*> pageWidgets;
    for (const QString& caption : pages) {
        auto* page = new QWidget;
        page->setObjectName("SSTab1_" + caption);
        // A page shows the window's colour, as its captions do, not the style's lighter pane.
        page->setAutoFillBackground(true);
        SSTab1->addTab(page, caption);
        pageWidgets.append(page);
    }
    BuildMaintenancePage(*pageWidgets[0]);
    BuildDepreciationPage(*pageWidgets[1]);
    BuildCommentsPage(*pageWidgets[2]);
    SSTab1->setCurrentIndex(0);

    PushButton[1] = AddButton(*this, "PushButton1", "Save Data", {120, 8250, 3850, 405});
    PushButton[2] = AddButton(*this, "PushButton2", "Cancel", {4080, 8250, 3850, 405});
    // A click on Cancel takes no focus, so leaving a date box with a bad date never stands
    // between the user and Cancel.
    PushButton[2]->setFocusPolicy(Qt::TabFocus);

    NameControls();
    SetKeyboardOrder();
    ConnectButtons();
    ConnectEntryRules();
    SetUpPointer();
}

void Form4::BuildMainArea()
{
    const struct
    {
        const char* caption;
        Rect rect;
    } details[] = {
        {"Employee", {120, 225, 825, 225}},       {"Current Value", {4920, 3045, 1170, 225}},
        {"Vendor", {120, 825, 615, 225}},         {"Asset Cat.", {120, 1425, 870, 225}},
        {"Status", {120, 2025, 555, 225}},        {"Dept.", {120, 2625, 435, 225}},
        {"Total Maint.", {4920, 3525, 975, 225}}, {"Total Depr.", {4920, 4005, 915, 225}},
    };
    for (const auto& d : details)
        AddLabel(*this, lblDetails, "lblDetails", d.caption, d.rect);

    cboEmployees = AddLookupList(*this, "cboEmployees", lblDetails[0], 165);
    cboVendors = AddLookupList(*this, "cboVendors", lblDetails[2], 765);
    cboCategories = AddLookupList(*this, "cboCategories", lblDetails[3], 1365);
    cboStatus = AddLookupList(*this, "cboStatus", lblDetails[4], 1965);
    cboDepartment = AddLookupList(*this, "cboDepartment", lblDetails[5], 2565);

    const QStringList nouns{"employee", "vendor", "category", "status", "department"};
    const double lookupTops[] = {180, 765, 1365, 1965, 2565};
    for (int i = 0; i < 5; ++i) {
        const int plus = 10 + 2 * i;
        PushButton[plus] = AddButton(*this, QString("PushButton%1").arg(plus), "+",
                                     {3840, lookupTops[i], 360, 345});
        PushButton[plus]->setAccessibleDescription("Add " + nouns[i]);
        PushButton[plus + 1] = AddButton(*this, QString("PushButton%1").arg(plus + 1), "-",
                                         {4320, lookupTops[i], 360, 345});
        PushButton[plus + 1]->setAccessibleDescription("Delete selected " + nouns[i]);
    }

    auto label = [&](const char* caption, const Rect& r) {
        return AddLabel(*this, Label1, "Label1", caption, r);
    };
    txtNextSchedMaint = AddBox<QLineEdit>(*this, "txtNextSchedMaint",
                                          label("Next Sched. Maint.", {120, 3180, 1575, 225}),
                                          {1800, 3120, 1920, 345});
    txtDescription =
        AddMultiLineBox(*this, "txtDescription", label("Description", {120, 3600, 975, 225}),
                        {1200, 3600, 2520, 705});

    txtDateAcquired =
        AddBox<QLineEdit>(*this, "txtDateAcquired", label("Date Acquired", {4920, 165, 1200, 225}),
                          {6360, 120, 1560, 345});
    txtDateSold = AddBox<QLineEdit>(*this, "txtDateSold", label("Date Sold", {4920, 645, 810, 225}),
                                    {6360, 600, 1560, 345});
    txtModelNo =
        AddBox<QLineEdit>(*this, "txtModelNo", label("Model Number", {4920, 1125, 1230, 225}),
                          {6360, 1080, 1560, 345});
    txtSerialNo =
        AddBox<QLineEdit>(*this, "txtSerialNo", label("Serial Number", {4920, 1605, 1215, 225}),
                          {6360, 1560, 1560, 345});
    txtBarcodeNo =
        AddBox<QLineEdit>(*this, "txtBarcodeNo", label("Barcode No", {4920, 2085, 990, 225}),
                          {6360, 2040, 1560, 345});
    txtPurchasePrice = AddBox<QLineEdit>(*this, "txtPurchasePrice",
                                         label("Purchase Price", {4920, 2565, 1320, 225}),
                                         {6360, 2520, 1560, 345});
    txtCurrentValue =
        AddBox<QLineEdit>(*this, "txtCurrentValue", lblDetails[1], {6360, 3000, 1560, 345});
    txtTotalMaintenance =
        AddDisplayBox(*this, "txtTotalMaintenance", lblDetails[6], {6360, 3480, 1560, 345}, 0);
    txtTotalDepreciation =
        AddDisplayBox(*this, "txtTotalDepreciation", lblDetails[7], {6360, 3960, 1560, 345}, 0);
}

void Form4::BuildMaintenancePage(QWidget& page)
{
    const double strip = PixelsToTwips(SSTab1->tabBar()->sizeHint().height());
    txtTotalMaintenance2 = AddDisplayBox(
        page, "txtTotalMaintenance2",
        AddLabel(page, Label1, "Label1", "Total Maintenance:", {120, 495, 1605, 225}, strip),
        {1800, 420, 1335, 375}, strip);
    txtNextScheduled =
        AddDisplayBox(page, "txtNextScheduled",
                      AddLabel(page, Label1, "Label1",
                               "Next Scheduled Maintenance:", {3720, 495, 2520, 225}, strip),
                      {6345, 420, 1335, 375}, strip);
    ListView1 = AddHistoryPane(page, "ListView1", {120, 900, 7560, 2235}, &PushButton[4], 4, strip);
}

void Form4::BuildDepreciationPage(QWidget& page)
{
    const double strip = PixelsToTwips(SSTab1->tabBar()->sizeHint().height());
    auto label = [&](const char* caption, const Rect& r) {
        return AddLabel(page, Label1, "Label1", caption, r, strip);
    };
    txtDeprMethod =
        AddBox<QLineEdit>(page, "txtDeprMethod", label("Depr. Method:", {120, 495, 1170, 225}),
                          {1800, 420, 1335, 375}, strip);
    txtDepreciableLife = AddBox<QLineEdit>(page, "txtDepreciableLife",
                                           label("Depreciable Life:", {120, 975, 1425, 225}),
                                           {1800, 900, 1335, 375}, strip);
    txtPurchasePrice2 =
        AddDisplayBox(page, "txtPurchasePrice2", label("Purchase Price:", {120, 1455, 1365, 225}),
                      {1800, 1380, 1335, 375}, strip);
    txtSalvageValue =
        AddBox<QLineEdit>(page, "txtSalvageValue", label("Salvage Value:", {3720, 495, 1245, 225}),
                          {5400, 420, 1335, 375}, strip);
    txtTotalDepreciation2 = AddDisplayBox(page, "txtTotalDepreciation2",
                                          label("Total Depreciation:", {3720, 975, 1590, 225}),
                                          {5400, 900, 1335, 375}, strip);
    txtDepreciationBasis = AddDisplayBox(page, "txtDepreciationBasis",
                                         label("Depreciation Basis:", {3720, 1455, 1650, 225}),
                                         {5400, 1380, 1335, 375}, strip);
    ListView2 =
        AddHistoryPane(page, "ListView2", {120, 1860, 7560, 1275}, &PushButton[7], 7, strip);
}

void Form4::BuildCommentsPage(QWidget& page)
{
    const double strip = PixelsToTwips(SSTab1->tabBar()->sizeHint().height());
    txtComments = AddMultiLineBox(page, "txtComments", nullptr, {120, 390, 7575, 3375}, strip);
}

void Form4::NameControls()
{
    // Assistive tools read a control by its caption, a box or list by the caption of the label
    // beside it, and a box or list with no label (the comments, the history lists) by the
    // caption of the tab page it fills.
    for (QWidget* control : findChildren<QWidget*>()) {
        QString name;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            name = label->text();
            if (label->buddy())
                label->buddy()->setAccessibleName(name);
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            name = button->text();
        } else if (SSTab1->indexOf(control) >= 0) {
            name = SSTab1->tabText(SSTab1->indexOf(control));
        } else if (qobject_cast<ListView*>(control) || control == txtComments) {
            name = SSTab1->tabText(SSTab1->indexOf(control->parentWidget()));
        } else {
            continue;
        }
        control->setAccessibleName(name);
    }
}

void Form4::ConnectButtons()
{
    void (Form4::*const handlers[20])() = {
        nullptr,
        &Form4::PushButton1_Click,
        &Form4::PushButton2_Click,
        nullptr,
        &Form4::PushButton4_Click,
        &Form4::PushButton5_Click,
        &Form4::PushButton6_Click,
        &Form4::PushButton7_Click,
        &Form4::PushButton8_Click,
        &Form4::PushButton9_Click,
        &Form4::PushButton10_Click,
        &Form4::PushButton11_Click,
        &Form4::PushButton12_Click,
        &Form4::PushButton13_Click,
        &Form4::PushButton14_Click,
        &Form4::PushButton15_Click,
        &Form4::PushButton16_Click,
        &Form4::PushButton17_Click,
        &Form4::PushButton18_Click,
        &Form4::PushButton19_Click,
    };
    for (int n = 0; n < 20; ++n) {
        if (handlers[n])
            connect(PushButton[n], &QPushButton::clicked, this, handlers[n]);
    }
}

void Form4::SetUpPointer()
{
    Pointer = new PointerRule(*this);
    QList<QWidget*> buttons;
    for (QPushButton* button : PushButton) {
        if (button)
            buttons.append(button);
    }
    Pointer->AddButtons(buttons);
    Pointer->AddResetAreas({ListView1, ListView2});
}

void Form4::AddListColumns()
{
    // All columns first, then their widths, as the list control expects.
    auto addColumns = [](ListView& list, const QList<std::pair<QString, double>>& columns) {
        for (const auto& column : columns)
            list.AddColumn(column.first);
        for (int c = 0; c < columns.size(); ++c)
            list.SetColumnWidth(c, columns[c].second);
    };
    addColumns(*ListView1, {{"Maintenance ID", 1},
                            {"Date", 1500},
                            {"Description", 2500},
                            {"Performed By", 1500},
                            {"Cost", 1500}});
    addColumns(*ListView2, {{"Depreciation ID", 1}, {"Date", 2000}, {"Amount", 2000}});
}
