#pragma once

#include <QWidget>
#include <functional>

// Shows a window modally and returns when it has closed. Tests install a driver that is
// called with the shown window instead of a nested event loop: it fills the window, clicks
// its buttons and so closes it.
void ShowModal(QWidget& window, QWidget* owner = nullptr);

using ModalDriver = std::function<void(QWidget& window)>;
// The driver is called for every modal window from now on, nested ones included (it can
// tell them apart with qobject_cast); when it returns and the window is still open,
// ShowModal closes it as its close box would. An empty function restores the real event
// loop.
void SetModalDriver(ModalDriver driver);
