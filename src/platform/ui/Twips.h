#pragma once

class QWidget;

// Design positions and sizes are in twips, 1440 to the inch; the screen's logical DPI turns
// them into pixels (15 twips a pixel at 96 DPI).
double TwipsPerPixel();
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// Places a control in its parent's client area.
void SetTwipsGeometry(QWidget& widget, double left, double top, double width, double height);
// Sizes a window so that its client area is width x height twips, and keeps it so: the window
// manager offers neither an edge to drag nor a maximise box.
void SetClientSizeTwips(QWidget& window, double width, double height);
