#pragma once

#include <QSize>

class QWidget;

// The most of its screen a window may cover, with room left for the window manager's title
// bar and borders.
QSize ScreenRoom(const QWidget& window);
