#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;
} // namespace

double TwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : kDefaultDpi;
    return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi);
}

int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

double PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel();
}

void SetTwipsGeometry(QWidget& widget, double left, double top, double width, double height)
{
    // The far edges are rounded on their own, so controls that touch in twips touch on screen.
    const int x = TwipsToPixels(left);
    const int y = TwipsToPixels(top);
    widget.setGeometry(x, y, TwipsToPixels(left + width) - x, TwipsToPixels(top + height) - y);
}

void SetClientSizeTwips(QWidget& window, double width, double height)
{
    window.setFixedSize(TwipsToPixels(width), TwipsToPixels(height));
}
