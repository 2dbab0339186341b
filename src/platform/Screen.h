#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Twips (1/1440 inch) and the screen: positions given in twips are divided by
// the twips per pixel of the screen's logical resolution (15 at 96 DPI).
double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
QRect TwipsToPixels(int left, int top, int width, int height);

// The mouse pointer in screen pixels and the geometry of the screen under it.
QPoint CursorPos();
QRect ScreenRectUnderPointer();

// A rectangle of the given size centred on the pointer, then moved so that it
// lies on the screen: left and top are raised to the screen's edge when they
// are before it, then lowered so that the far edges stay on it.
QPoint CentredOnPointer(QPoint pointer, QSize size, QRect screen);

// Places a top-level dialog (its frame) centred on the pointer and on screen.
void PlaceAtPointer(QWidget& dialog);

// Keeps a top-level window above all others (flag -1) or returns it among the
// normal windows (any other value), keeping its geometry, without activating it.
void WinTop(QWidget& window, double flag);
