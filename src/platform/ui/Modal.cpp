#include "platform/ui/Modal.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>

namespace {

ModalDriver g_driver;

// Ends a nested event loop when the watched window is hidden or destroyed.
class CloseWatcher : public QObject
{
public:
    CloseWatcher(QWidget& window, QEventLoop& loop) : m_loop(loop)
    {
        window.installEventFilter(this);
        connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop& m_loop;
};

// A window without a parent of its own stays in front of its owner.
void KeepInFrontOf(QWidget& window, QWidget* owner)
{
    if (!owner || window.parentWidget())
        return;
    window.winId();
    owner->window()->winId();
    if (window.windowHandle() && owner->window()->windowHandle())
        window.windowHandle()->setTransientParent(owner->window()->windowHandle());
}

void ShowAndWait(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        dialog->exec();
        return;
    }
    QEventLoop loop;
    CloseWatcher watcher(window, loop);
    window.show();
    if (window.isVisible())
        loop.exec();
}

} // namespace

void ShowModal(QWidget& window, QWidget* owner)
{
    window.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    KeepInFrontOf(window, owner);
    if (!g_driver) {
        ShowAndWait(window);
        return;
    }
    // A copy, so a driver that installs another driver (or none) while it runs stays alive.
    const ModalDriver driver = g_driver;
    QPointer<QWidget> guard(&window);
    window.show();
    driver(window);
    if (guard && window.isVisible())
        window.close();
}

void SetModalDriver(ModalDriver driver)
{
    g_driver = std::move(driver);
}
