#include "app/WindowArrange.h"

#include <QString>

namespace {
QList<QRect> tile(const QRect& area, int n, bool columns) {
    QList<QRect> out;
    if (n <= 0)
        return out;
    const int length = columns ? area.width() : area.height();
    const int step = length / n;
    for (int i = 0; i < n; ++i) {
        const int start = i * step;
        const int size = (i == n - 1) ? length - start : step;
        out.append(columns ? QRect(area.left() + start, area.top(), size, area.height())
                           : QRect(area.left(), area.top() + start, area.width(), size));
    }
    return out;
}
} // namespace

QList<QRect> TileSideBySide(const QRect& area, int n) {
    return tile(area, n, true);
}
QList<QRect> TileOneAboveOther(const QRect& area, int n) {
    return tile(area, n, false);
}

QList<QRect> Cascade(const QRect& area, int n, int step) {
    QList<QRect> out;
    if (n <= 0)
        return out;
    const int room = step * (n - 1);
    const int w = std::max(1, std::min(area.width() * 2 / 3, area.width() - room));
    const int h = std::max(1, std::min(area.height() * 2 / 3, area.height() - room));
    for (int i = 0; i < n; ++i)
        out.append(QRect(area.left() + i * step, area.top() + i * step, w, h));
    return out;
}

namespace {
int iconsPerRow(const QRect& area, QSize icon) {
    return std::max(1, area.width() / std::max(1, icon.width()));
}
} // namespace

QList<QRect> LineUpIcons(const QRect& area, QSize icon, int n) {
    QList<QRect> out;
    const int perRow = iconsPerRow(area, icon);
    for (int i = 0; i < n; ++i) {
        const int col = i % perRow, row = i / perRow;
        out.append(QRect(
            QPoint(area.left() + col * icon.width(), area.bottom() + 1 - (row + 1) * icon.height()),
            icon));
    }
    return out;
}

QRect AreaAboveIcons(const QRect& area, QSize icon, int n) {
    if (n <= 0)
        return area;
    const int perRow = iconsPerRow(area, icon);
    const int rows = (n + perRow - 1) / perRow;
    const int height = std::max(1, area.height() - rows * icon.height());
    return QRect(area.topLeft(), QSize(area.width(), height));
}

QString VersionLine(int major, int minor, int revision) {
    return QStringLiteral("Ver %1.%2%3").arg(major).arg(minor).arg(revision);
}
