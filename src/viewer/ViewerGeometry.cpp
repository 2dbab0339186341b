#include "viewer/ViewerGeometry.h"

#include <QWidget>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Pixels of a picture size that may be huge after many zoom steps, in the
// range a window can take.
int pixels(double extent) {
    if (!(extent > 0))
        return 0;
    return int(std::min<double>(std::llround(std::min(extent, 1e15)), QWIDGETSIZE_MAX));
}
} // namespace

int ScrollMaximum(double pictureExtent, int viewExtent) {
    if (!(pictureExtent > 0))
        return 0;
    const double over = std::round(pictureExtent) - viewExtent;
    if (over <= 0)
        return 0;
    return over >= double(INT_MAX) ? INT_MAX : int(over);
}

QSize FittedClientSize(double pictureWidth, double pictureHeight, int scrollBarWidth,
                       int scrollBarHeight, int buttonRowHeight) {
    const int w = std::min(pixels(pictureWidth) + 5 + scrollBarWidth, QWIDGETSIZE_MAX);
    const int h =
        std::min(pixels(pictureHeight) + 9 + scrollBarHeight + buttonRowHeight, QWIDGETSIZE_MAX);
    return QSize(w, h);
}

QSize ClientCutToScreen(QSize client, QSize frame, QSize screen) {
    const int w = std::min(client.width() + frame.width(), screen.width()) - frame.width();
    const int h = std::min(client.height() + frame.height(), screen.height()) - frame.height();
    return QSize(w, h);
}
