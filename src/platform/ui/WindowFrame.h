#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <functional>

class QWidget;

// The frame a window manager puts around a top-level window (title bar and borders), and a
// call whenever it changes. Qt keeps the frame from the window's last configure notification,
// which a window manager may send before it changes the frame: when it first frames a window,
// and when a window comes back from maximised (openbox). On X11 the frame is therefore read
// from the window's _NET_FRAME_EXTENTS and that property watched; elsewhere Qt's frame is used
// and no change is announced.
class WindowFrame : public QObject, public QAbstractNativeEventFilter
{
public:
    WindowFrame(QWidget& window, std::function<void()> changed);
    ~WindowFrame() override;

    QMargins Margins() const;

protected:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& m_window;
    std::function<void()> m_changed;
    // The atom _NET_FRAME_EXTENTS; 0 off X11.
    unsigned m_extents = 0;
};
