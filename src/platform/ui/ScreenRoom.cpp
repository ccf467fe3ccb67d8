#include "platform/ui/ScreenRoom.h"

#include <QScreen>
#include <QWidget>

QSize ScreenRoom(const QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize available = screen->availableGeometry().size();
    return QSize(available.width() * 19 / 20, available.height() * 9 / 10);
}
