#include "viewer/ViewingArea.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

void StretchImage::setPicture(const QImage& picture) {
    // Painting is fastest from the raster engine's own formats.
    const QImage::Format fast =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    m_picture = picture.format() == fast ? picture : picture.convertToFormat(fast);
    m_reduced.clear();
    m_host->update();
}

void StretchImage::Move(double left, double top, double width, double height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_host->update();
}

void StretchImage::setLeft(double left) {
    m_left = left;
    m_host->update();
}

void StretchImage::setTop(double top) {
    m_top = top;
    m_host->update();
}

void StretchImage::setVisible(bool visible) {
    m_visible = visible;
    m_host->update();
}

int StretchImage::levelForCurrentSize() const {
    if (m_picture.isNull() || m_width <= 0 || m_height <= 0)
        return 0;
    // The smallest copy that still has at least one picture pixel per device
    // pixel of the screen in both directions.
    const double ratio = m_host->devicePixelRatioF();
    const double shownW = m_width * ratio, shownH = m_height * ratio;
    int k = 0;
    double w = m_picture.width(), h = m_picture.height();
    while (w / 2 >= shownW && h / 2 >= shownH && w >= 2 && h >= 2) {
        w /= 2;
        h /= 2;
        ++k;
    }
    return k;
}

const QImage& StretchImage::level(int k) const {
    if (k == 0)
        return m_picture;
    while (int(m_reduced.size()) < k) {
        const QImage& from = m_reduced.empty() ? m_picture : m_reduced.back();
        m_reduced.push_back(from.scaled(std::max(1, from.width() / 2),
                                        std::max(1, from.height() / 2), Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation));
    }
    return m_reduced[k - 1];
}

void StretchImage::paint(QPainter& painter, const QRect& exposed) const {
    if (!m_visible || m_picture.isNull() || m_width <= 0 || m_height <= 0)
        return;
    const QRectF shown(m_left, m_top, m_width, m_height);
    const QRectF target = shown.intersected(QRectF(exposed));
    if (target.isEmpty())
        return;
    const QImage& source = level(levelForCurrentSize());
    const double sx = source.width() / m_width;
    const double sy = source.height() / m_height;
    const QRectF from((target.left() - m_left) * sx, (target.top() - m_top) * sy,
                      target.width() * sx, target.height() * sy);
    // A picture pixel that covers a device pixel or more is drawn as it is,
    // sharp at any zoom and on any screen; only a reduction is smoothed.
    const double ratio = m_host->devicePixelRatioF();
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          m_width * ratio < source.width() || m_height * ratio < source.height());
    painter.drawImage(target, source, from);
}

ViewingArea::ViewingArea(QWidget* parent) : QWidget(parent), ImgMain(this) {
    setAutoFillBackground(true);
}

void ViewingArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRect(event->rect());
    ImgMain.paint(painter, event->rect());
}

void ViewingArea::wheelEvent(QWheelEvent* event) {
    // The wheel scrolls the picture as it would over the scroll bar itself.
    const QList<QScrollBar*> bars = parentWidget()->findChildren<QScrollBar*>();
    const Qt::Orientation wanted =
        (event->modifiers() & Qt::ShiftModifier) ? Qt::Horizontal : Qt::Vertical;
    for (QScrollBar* bar : bars)
        if (bar->orientation() == wanted && bar->maximum() > 0) {
            QCoreApplication::sendEvent(bar, event);
            return;
        }
    event->ignore();
}
