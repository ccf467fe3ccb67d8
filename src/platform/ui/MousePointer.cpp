#include "platform/ui/MousePointer.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

// Moves without a pressed button reach only widgets that track the mouse.
void Watch(QWidget& widget, QObject& filter)
{
    widget.setMouseTracking(true);
    widget.installEventFilter(&filter);
}

} // namespace

PointerRule::PointerRule(QWidget& window) : QObject(&window), m_window(window)
{
    Watch(m_window, *this);
}

void PointerRule::SetMouseIcon(const std::optional<QCursor>& picture)
{
    m_icon = picture;
    if (m_pointer == MousePointer::Custom)
        SetPointer(MousePointer::Custom);
}

bool PointerRule::HasMouseIcon() const
{
    return m_icon.has_value();
}

void PointerRule::AddButtons(const QList<QWidget*>& buttons)
{
    for (QWidget* button : buttons) {
        m_buttons.append(button);
        Watch(*button, *this);
    }
}

void PointerRule::AddResetAreas(const QList<QWidget*>& areas)
{
    for (QWidget* area : areas) {
        m_resetAreas.append(area);
        Watch(*area, *this);
        // A list's rows lie on its viewport, which gets the moves over them.
        if (auto* scrollArea = qobject_cast<QAbstractScrollArea*>(area))
            Watch(*scrollArea->viewport(), *this);
    }
}

void PointerRule::SetPointer(MousePointer pointer)
{
    m_pointer = pointer;
    switch (pointer) {
    case MousePointer::Hourglass:
        m_window.setCursor(Qt::WaitCursor);
        break;
    case MousePointer::Custom:
        if (m_icon)
            m_window.setCursor(*m_icon);
        else
            m_window.unsetCursor();
        break;
    case MousePointer::Default:
        m_window.unsetCursor();
        break;
    }
}

bool PointerRule::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove || m_pointer == MousePointer::Hourglass)
        return false;
    QWidget* over = qobject_cast<QWidget*>(watched);
    // A move that a control leaves unhandled comes on to the window as well; the control
    // under the mouse decides, not the window that passes it on.
    if (over == &m_window) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (QWidget* child = m_window.childAt(at))
            over = child;
    }
    for (QWidget* widget = over; widget; widget = widget->parentWidget()) {
        if (m_buttons.contains(widget)) {
            SetPointer(MousePointer::Custom);
            return false;
        }
        if (m_resetAreas.contains(widget) || widget == &m_window) {
            SetPointer(MousePointer::Default);
            return false;
        }
    }
    return false;
}
