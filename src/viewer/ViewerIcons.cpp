#include "viewer/ViewerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

// Draws on a 16 x 16 design grid at the given pixel size.
QPixmap drawn(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    return pixmap;
}

QIcon icon(const std::function<void(QPainter&)>& draw) {
    QIcon result;
    for (int size : {16, 24, 32})
        result.addPixmap(drawn(size, draw));
    return result;
}

} // namespace

QIcon MagnifierIcon(bool plus) {
    return icon([plus](QPainter& p) {
        // Handle, lens, then the sign inside the lens.
        p.setPen(QPen(QColor(90, 60, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.2, 10.2), QPointF(14.5, 14.5));
        p.setPen(QPen(QColor(40, 40, 40), 1.4));
        p.setBrush(QColor(220, 236, 255));
        p.drawEllipse(QPointF(6.5, 6.5), 5.0, 5.0);
        p.setPen(QPen(QColor(20, 20, 120), 1.6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(4.0, 6.5), QPointF(9.0, 6.5));
        if (plus)
            p.drawLine(QPointF(6.5, 4.0), QPointF(6.5, 9.0));
    });
}

QIcon FitFrameIcon() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.2));
        p.setBrush(QColor(220, 236, 255));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        // A picture inside the frame, and four arrows out to its corners.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 140, 60));
        p.drawRect(QRectF(6, 6, 4, 4));
        p.setPen(QPen(QColor(20, 20, 120), 1.2, Qt::SolidLine, Qt::RoundCap));
        const QPointF centre(8, 8);
        for (const QPointF corner :
             {QPointF(3.5, 3.5), QPointF(12.5, 3.5), QPointF(3.5, 12.5), QPointF(12.5, 12.5)}) {
            const QPointF dir = (corner - centre) / 4.5;
            const QPointF from = centre + dir * 2.6;
            p.drawLine(from, corner);
            // Arrow head: two short strokes back along each axis.
            p.drawLine(corner, corner - QPointF(dir.x() * 2.2, 0));
            p.drawLine(corner, corner - QPointF(0, dir.y() * 2.2));
        }
    });
}
