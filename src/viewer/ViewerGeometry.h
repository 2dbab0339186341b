#pragma once

#include <QSize>

// The viewer's geometry rules, in pixels of the client area (the window
// without its frame). The viewing area is the client area less the vertical
// scroll bar on the right and, at the top, the button row and, at the bottom,
// the horizontal scroll bar.

// How far a scroll bar may move the picture: the part of the picture that
// does not fit, never negative; in int, so that a picture zoomed far beyond
// 32767 pixels stays scrollable to its far edge.
int ScrollMaximum(double pictureExtent, int viewExtent);

// The client size that leaves the viewing area 5 pixels wider and 9 pixels
// taller than the picture.
QSize FittedClientSize(double pictureWidth, double pictureHeight, int scrollBarWidth,
                       int scrollBarHeight, int buttonRowHeight);

// A client size whose window (client plus frame) is cut to the screen's size
// in each direction.
QSize ClientCutToScreen(QSize client, QSize frame, QSize screen);
