#include "platform/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {
QScreen* primary() {
    return QGuiApplication::primaryScreen();
}
} // namespace

double TwipsPerPixelX() {
    QScreen* s = primary();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

double TwipsPerPixelY() {
    QScreen* s = primary();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int TwipsToPixelsX(double twips) {
    return int(std::lround(twips / TwipsPerPixelX()));
}
int TwipsToPixelsY(double twips) {
    return int(std::lround(twips / TwipsPerPixelY()));
}

QRect TwipsToPixels(int left, int top, int width, int height) {
    return QRect(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                 TwipsToPixelsY(height));
}

QPoint CursorPos() {
    return QCursor::pos();
}

QRect ScreenRectUnderPointer() {
    QScreen* s = QGuiApplication::screenAt(QCursor::pos());
    if (!s)
        s = primary();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QPoint CentredOnPointer(QPoint pointer, QSize size, QRect screen) {
    int left = pointer.x() - size.width() / 2;
    int top = pointer.y() - size.height() / 2;
    if (left < screen.left())
        left = screen.left();
    if (left > screen.right() + 1 - size.width())
        left = screen.right() + 1 - size.width();
    if (top < screen.top())
        top = screen.top();
    if (top > screen.bottom() + 1 - size.height())
        top = screen.bottom() + 1 - size.height();
    return QPoint(left, top);
}

void PlaceAtPointer(QWidget& dialog) {
    dialog.ensurePolished();
    const QSize frame = dialog.frameGeometry().size().expandedTo(dialog.size());
    dialog.move(CentredOnPointer(CursorPos(), frame, ScreenRectUnderPointer()));
}

void WinTop(QWidget& window, double flag) {
    const QRect geometry = window.geometry();
    // A window not yet on the screen has no place to keep: fixing its
    // geometry would pin it to the corner instead of the system's placement.
    const bool placed = window.isVisible();
    const bool noActivate = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, flag == -1);
    if (placed)
        window.setGeometry(geometry);
    window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
}
