#include "platform/ui/WindowFrame.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* X11Connection()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// Replies of the X server are the caller's to free.
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

WindowFrame::WindowFrame(QWidget& window, std::function<void()> changed)
    : QObject(&window), m_window(window), m_changed(std::move(changed))
{
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return;
    const char name[] = "_NET_FRAME_EXTENTS";
    const Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name),
                              nullptr),
        &std::free);
    if (!atom)
        return;
    m_extents = atom->atom;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowFrame::~WindowFrame()
{
    if (m_extents)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

QMargins WindowFrame::Margins() const
{
    xcb_connection_t* connection = X11Connection();
    if (!m_extents || !connection || !m_window.testAttribute(Qt::WA_WState_Created))
        return m_window.windowHandle() ? m_window.windowHandle()->frameMargins() : QMargins();
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(m_window.winId()),
                                                m_extents, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return QMargins();
    // left, right, top, bottom
    const auto* e = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return QMargins(int(e[0]), int(e[2]), int(e[1]), int(e[3]));
}

bool WindowFrame::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
    // The window is moved after Qt has handled the event, not inside its handling.
    if (notify->atom == m_extents && m_window.testAttribute(Qt::WA_WState_Created) &&
        notify->window == xcb_window_t(m_window.winId()))
        QMetaObject::invokeMethod(this, m_changed, Qt::QueuedConnection);
    return false;
}
