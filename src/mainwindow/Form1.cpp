// The main window's controls and the wiring of their events.
#include "mainwindow/Form1.h"

#include "common/Window.h"
#include "mainwindow/MainMenu.h"
#include "platform/ui/ListView.h"
#include "platform/ui/WindowFrame.h"

#include <QCloseEvent>
#include <QPalette>
#include <QPushButton>

namespace {

// The buttons in the design's tab order, with their captions.
struct ButtonDesign
{
    int number;
    const char* caption;
};
constexpr ButtonDesign kButtons[] = {
    {2, "Add New Record"},
    {1, "Edit Selected Record"},
    {3, "Delete Selected Record"},
    {4, "Load Sample/Example Data"},
    {6, "Help"},
    {5, "Delete All Records"},
    {7, "Create/Print Report"},
};

} // namespace

// Builds the window as designed: white, Arial 9 pt bold, the list on top and the seven
// buttons under it; a fixed border with minimise and maximise boxes. The menu bar stands over
// the designed client area, and the window is taller by its height.
Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setObjectName("Form1");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(ArialFont(9, true));
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);

    ClientArea = new QWidget(this);
    ClientArea->setObjectName("ClientArea");
    ClientArea->setAccessibleName("Assets");
    ListView1 = new ListView(ClientArea);
    ListView1->setObjectName("ListView1");
    ListView1->setAccessibleName("Asset list");
    ListView1->setFont(ArialFont(9, true));

    const QFont captionFont = ArialFont(11.25, true);
    QWidget* previous = ListView1;
    QList<QWidget*> buttons;
    for (const ButtonDesign& design : kButtons) {
        auto* button = new QPushButton(design.caption, ClientArea);
        button->setObjectName(QStringLiteral("PushButton%1").arg(design.number));
        button->setAccessibleName(design.caption);
        button->setFont(captionFont);
        PushButton[design.number] = button;
        setTabOrder(previous, button);
        previous = button;
        buttons.append(button);
    }

    Menu = new MainMenu(*this);

    Pointer = new PointerRule(*this);
    Pointer->AddButtons(buttons);
    Pointer->AddResetAreas({ListView1});

    connect(PushButton[1], &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton[2], &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton[3], &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton[4], &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton[5], &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton[6], &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton[7], &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(ListView1, &ListView::ColumnClick, this, &Form1::ListView1_ColumnClick);

    m_frame = new WindowFrame(*this, [this] { FrameChanged(); });
    DesignLayout();
}

// The controls go with the window (Qt parents own them); the connection is released by the
// close, not here.
Form1::~Form1() = default;

// Closing saves the widths and the state and releases the connection, then ends the
// program; nothing cancels it.
void Form1::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    Form_Unload();
    event->accept();
}
