// The main window's layout: the design places, the stretched layout of the maximised
// window and the restored layout of its return to the normal size. All in twips, inside the
// client area under the menu bar.
#include "mainwindow/Form1.h"

#include "mainwindow/FindField.h"
#include "mainwindow/MainMenu.h"
#include "platform/RuntimeError.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"

#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

// The client area of the design.
constexpr double kClientWidth = 12000;
constexpr double kClientHeight = 7230;

struct Place
{
    double left, top, width, height;
};
// Help stands alone under the two rows, as wide as the list.
constexpr Place kHelpPlace{120, 6700, 11760, 405};

// A control's place in twips, read from its pixels.
float LeftOf(const QWidget& w)
{
    return float(PixelsToTwips(w.x()));
}
float TopOf(const QWidget& w)
{
    return float(PixelsToTwips(w.y()));
}
float WidthOf(const QWidget& w)
{
    return float(PixelsToTwips(w.width()));
}
float HeightOf(const QWidget& w)
{
    return float(PixelsToTwips(w.height()));
}

void Move(QWidget& w, float left, float top)
{
    SetTwipsGeometry(w, left, top, WidthOf(w), HeightOf(w));
}

// Add New Record at (left, top), the rest of the first row beside it, the second row under
// it; each from the places set just before.
void PlaceButtonRows(QPushButton* const (&button)[8], float left, float top)
{
    QPushButton& first = *button[2];
    Move(first, left, top);
    Move(*button[1], LeftOf(first) + WidthOf(first) + 120, TopOf(first));
    Move(*button[7], LeftOf(*button[1]) + WidthOf(*button[1]) + 120, TopOf(first));
    QPushButton& second = *button[4];
    Move(second, LeftOf(first), TopOf(first) + HeightOf(first) + 105);
    Move(*button[3], LeftOf(second) + WidthOf(second) + 120, TopOf(second));
    Move(*button[5], LeftOf(*button[3]) + WidthOf(*button[3]) + 120, TopOf(second));
}

} // namespace

// The places of the design table.
void Form1::DesignLayout()
{
    resize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight) + Menu->sizeHint().height());
    PlaceBarAndClientArea();
    SetTwipsGeometry(*ListView1, 120, 120, 11760, 5475);
    const Place places[8] = {{},
                             {4080, 5670, 3840, 405},
                             {120, 5670, 3840, 405},
                             {4080, 6180, 3840, 405},
                             {120, 6180, 3840, 405},
                             {8040, 6180, 3840, 405},
                             kHelpPlace,
                             {8040, 5670, 3840, 405}};
    for (int n = 1; n <= 7; ++n)
        SetTwipsGeometry(*PushButton[n], places[n].left, places[n].top, places[n].width,
                         places[n].height);
    CentreOnScreen();
}

int Form1::WindowStateNumber() const
{
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized)
        return 1;
    if (state & Qt::WindowMaximized)
        return 2;
    return 0;
}

void Form1::SetWindowStateNumber(int state)
{
    switch (state) {
    case 0:
        setWindowState(Qt::WindowNoState);
        break;
    case 1:
        setWindowState(Qt::WindowMinimized);
        break;
    case 2:
        setWindowState(Qt::WindowMaximized);
        break;
    default:
        throw RuntimeError("Invalid property value", 380);
    }
}

// The window state changes without a resize when it is minimised; the rule runs on both.
void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceBarAndClientArea();
    Form_Resize();
}

void Form1::PlaceBarAndClientArea()
{
    const int bar = Menu->sizeHint().height();
    const int find = std::min(Menu->Find->sizeHint().width(), width() / 2);
    // The bar runs the whole width; the find field lies over its right end.
    Menu->setGeometry(0, 0, width(), bar);
    Menu->Find->setGeometry(width() - find, 0, find, bar);
    Menu->Find->raise();
    ClientArea->setGeometry(0, bar, width(), std::max(0, height() - bar));
}

// Maximised: the stretched layout; back to normal after a stretched layout (or a start in
// another state): the restored layout, centred. Otherwise nothing moves.
void Form1::Form_Resize()
{
    if (WindowStateNumber() == 2)
        StretchedLayout();
    else if (WindowStateNumber() == 0 && m_WasMaximized)
        RestoredLayout();
}

// The list fills the window but for the two button rows, which stand centred under it.
// Sizes are single-precision, as the design computes them; a window too small for them
// gives an empty list rather than a negative one.
void Form1::StretchedLayout()
{
    const float windowWidth = float(PixelsToTwips(frameGeometry().width()));
    // The window's height as the rule reads it is that of the window without the menu bar.
    const float windowHeight =
        float(PixelsToTwips(frameGeometry().height() - Menu->sizeHint().height()));
    QPushButton& first = *PushButton[2];
    const float listWidth = std::max(0.0f, windowWidth - 330);
    const float listHeight = std::max(0.0f, windowHeight - 2 * HeightOf(first) - 315 - 120 - 465);
    SetTwipsGeometry(*ListView1, 120, 120, listWidth, listHeight);
    PlaceButtonRows(PushButton, windowWidth / 2 - WidthOf(first) * 3 / 2 - 480,
                    listHeight + 105 + 120);
    // The rows leave no room for a third: Help stands right of them, as high as both rows
    // and reaching to the list's right edge.
    const float helpLeft = LeftOf(*PushButton[7]) + WidthOf(*PushButton[7]) + 120;
    SetTwipsGeometry(*PushButton[6], helpLeft, TopOf(first),
                     std::max(0.0f, 120 + listWidth - helpLeft),
                     TopOf(*PushButton[4]) + HeightOf(*PushButton[4]) - TopOf(first));
    m_WasMaximized = true;
}

// The design size again (the first row 10 twips lower than designed), centred.
void Form1::RestoredLayout()
{
    SetTwipsGeometry(*ListView1, 120, 120, 11760, 5475);
    PlaceButtonRows(PushButton, 120, 5680);
    SetTwipsGeometry(*PushButton[6], kHelpPlace.left, kHelpPlace.top, kHelpPlace.width,
                     kHelpPlace.height);
    CentreOnScreen();
}

void Form1::CentreOnScreen()
{
    const QScreen* where = screen();
    if (!where)
        return;
    const float screenWidth = float(PixelsToTwips(where->geometry().width()));
    const float screenHeight = float(PixelsToTwips(where->geometry().height()));
    const float left = (screenWidth - float(PixelsToTwips(frameGeometry().width()))) / 2;
    const float top = (screenHeight - float(PixelsToTwips(frameGeometry().height()))) / 2;
    move(TwipsToPixels(left), TwipsToPixels(top));
}
