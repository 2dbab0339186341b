#include "thumbs/ThumbRules.h"

#include "app/PathRules.h"

#include <QPoint>
#include <QSizeF>
#include <algorithm>
#include <cmath>

QString GetExtension(const QString& name) {
    return GetLastPart(name, QLatin1Char('.'));
}

bool IsImageName(const QString& name) {
    static const QStringList kinds{QStringLiteral("BMP"), QStringLiteral("JPG"),
                                   QStringLiteral("GIF"), QStringLiteral("ICO"),
                                   QStringLiteral("CUR"), QStringLiteral("WMF")};
    return kinds.contains(GetExtension(name));
}

QString ProgressText(int i, const QString& name) {
    return QString::number(i) + QStringLiteral("読込み中   ") + name;
}

BoxFit FitBox(QSize natural, QSize box) {
    BoxFit fit;
    fit.box = box;
    const double w = natural.width(), h = natural.height();
    if (w <= 0 || h <= 0 || box.isEmpty())
        return fit;
    const double rW = w / box.width();
    const double rH = h / box.height();
    // A side never shrinks below one pixel, however thin the picture.
    if (rH > rW)
        fit.box.setWidth(std::max(1, int(std::nearbyint(box.height() * w / h))));
    else
        fit.box.setHeight(std::max(1, int(std::nearbyint(box.width() * h / w))));
    fit.scaled = !(rW < 1 && rH < 1);
    return fit;
}

QSize DevicePixels(QSize logical, qreal pixelRatio) {
    return (QSizeF(logical) * pixelRatio).toSize().expandedTo(QSize(1, 1));
}

int GridColumns(int canvasWidth, int boxWidth) {
    const int columns = (canvasWidth - GridMargin) / (boxWidth + GridMargin);
    return columns < 1 ? 1 : columns;
}

QPoint CellPosition(int cell, int columns, QSize box, int labelHeight) {
    const int left = (box.width() + GridMargin) * (cell % columns) + GridMargin;
    const int top = (cell / columns) * (box.height() + GridMargin + labelHeight) + GridMargin;
    return QPoint(left, top);
}

int CanvasHeight(int boxHeight, int boxTop, int labelHeight) {
    return boxHeight + boxTop + labelHeight + 17;
}

int ScrollMaximum(int canvasHeight, int viewportHeight) {
    return std::max(0, canvasHeight - viewportHeight);
}

PreviewLayout LayoutClient(QSize client, int scrollBarWidth, int pathBoxHeight) {
    PreviewLayout out;
    const int vh = std::max(1, client.height() - pathBoxHeight - 1);
    const int vw = std::max(1, client.width() - scrollBarWidth - 1);
    out.viewport = QRect(0, 0, vw, vh);
    out.scrollBar = QRect(vw + 1, 0, scrollBarWidth, vh);
    out.pathBox = QRect(0, vh + 1, std::max(1, client.width()), pathBoxHeight);
    return out;
}

void ApplyClick(QList<bool>& selected, int k, int shift) {
    const int n = int(selected.size());
    if (k < 0 || k >= n)
        return;
    switch (shift) {
    case ShiftNone:
        for (int i = 0; i < n; ++i)
            if (i != k)
                selected[i] = false;
        selected[k] = !selected[k];
        break;
    case ShiftShift:
        for (int d = 1; d < n; ++d) {
            const int hi = std::min(k + d, n - 1);
            const int lo = std::max(k - d, 0);
            if (selected[hi]) {
                std::fill(selected.begin() + k, selected.begin() + hi + 1, true);
                break;
            }
            if (selected[lo]) {
                std::fill(selected.begin() + lo, selected.begin() + k + 1, true);
                break;
            }
        }
        selected[k] = true;
        break;
    case ShiftCtrl:
        selected[k] = !selected[k];
        break;
    default:
        break;
    }
}
