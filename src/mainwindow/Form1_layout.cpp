// The main window's layout: the design places, the stretched layout of the maximised
// window and the restored layout of its return to the normal size. All in twips, inside the
// client area under the menu bar.
#include "mainwindow/Form1.h"

#include "mainwindow/FindField.h"
#include "mainwindow/MainMenu.h"
#include "platform/RuntimeError.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WindowFrame.h"

#include <QEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTextStream>
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

QSize Form1::DesignSize() const
{
    return QSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight) + MenuBarHeight());
}

int Form1::MenuBarHeight() const
{
    return Menu->sizeHint().height();
}

// The places of the design table. The border is fixed: the window manager cannot make the
// window smaller than designed, and a larger normal size is undone (resizeEvent).
void Form1::DesignLayout()
{
    setMinimumSize(DesignSize());
    resize(DesignSize());
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

// Window managers offer no border that only maximises: a window that cannot be resized cannot
// be maximised either. So the window stays resizable for them, and in the normal state a size
// other than the designed one (an edge dragged) is undone at once.
void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceBarAndClientArea();
    Form_Resize();
    if (WindowStateNumber() == 0 && size() != DesignSize() && isVisible())
        QMetaObject::invokeMethod(this, &Form1::KeepDesignSize, Qt::QueuedConnection);
}

// Runs after the events that came with the resize: a window being maximised may be resized
// before it is told its new state.
void Form1::KeepDesignSize()
{
    if (WindowStateNumber() == 0 && size() != DesignSize())
        resize(DesignSize());
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    LogLayout();
}

// The window manager has framed the window or changed its frame. A normal window is centred
// again when its frame is not the one its centring counted; a window the user moved keeps its
// frame, so it is never centred here. A window on its way to or from maximised is left to the
// state change.
void Form1::FrameChanged()
{
    // The outer size that the stretched layout counts has changed with the frame.
    if (WindowStateNumber() == 2)
        Form_Resize();
    if (WindowStateNumber() != 0 || !isVisible() || size() != DesignSize())
        return;
    m_normalFrame = m_frame->Margins();
    if (m_normalFrame != m_centredFrame)
        CentreOnScreen();
}

void Form1::PlaceBarAndClientArea()
{
    const int bar = MenuBarHeight();
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
    LogLayout();
}

// The list fills the window but for the two button rows, which stand centred under it.
// Sizes are single-precision, as the design computes them; a window too small for them
// gives an empty list rather than a negative one.
void Form1::StretchedLayout()
{
    const QSize outer = size().grownBy(m_frame->Margins());
    const float windowWidth = float(PixelsToTwips(outer.width()));
    // The window's height as the rule reads it is that of the window without the menu bar.
    const float windowHeight = float(PixelsToTwips(outer.height() - MenuBarHeight()));
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

// A window coming back from maximised may not yet have been shrunk, nor given its normal frame
// back, by the window manager when this runs: the outer size counts the frame the window last
// had in the normal state, and the size is asked for with the place, so that the stale
// maximised size is never asked for again.
void Form1::CentreOnScreen()
{
    const QScreen* where = screen();
    if (!where)
        return;
    const QMargins frame = m_normalFrame.isNull() ? m_frame->Margins() : m_normalFrame;
    m_centredFrame = frame;
    const QSize outer = DesignSize().grownBy(frame);
    const float screenWidth = float(PixelsToTwips(where->geometry().width()));
    const float screenHeight = float(PixelsToTwips(where->geometry().height()));
    const float left = (screenWidth - float(PixelsToTwips(outer.width()))) / 2;
    const float top = (screenHeight - float(PixelsToTwips(outer.height()))) / 2;
    const QPoint client(TwipsToPixels(left) + frame.left(), TwipsToPixels(top) + frame.top());
    setGeometry(QRect(client, DesignSize()));
}

void Form1::LogLayout() const
{
    static const QString path = qEnvironmentVariable("TARNWICK_LAYOUT_LOG");
    if (path.isEmpty())
        return;
    auto place = [](const QRect& r) {
        return QStringLiteral("%1,%2,%3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QSaveFile log(path);
    if (!log.open(QIODevice::WriteOnly))
        return;
    QTextStream(&log) << "state " << WindowStateNumber() << " design " << DesignSize().width()
                      << "x" << DesignSize().height() << " window " << place(geometry()) << " list "
                      << place(ListView1->geometry()) << " help "
                      << place(PushButton[6]->geometry()) << " first "
                      << place(PushButton[2]->geometry()) << "\n";
    log.commit();
}
