#include "platform/ButtonIcon.h"

#include <QPixmap>

QImage GreyedPicture(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 3);
        }
    }
    return out;
}

QIcon PictureButtonIcon(const QIcon& picture) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        const QPixmap normal = picture.pixmap(QSize(size, size));
        if (normal.isNull())
            continue;
        icon.addPixmap(normal, QIcon::Normal);
        QPixmap greyed = QPixmap::fromImage(GreyedPicture(normal.toImage()));
        greyed.setDevicePixelRatio(normal.devicePixelRatio());
        icon.addPixmap(greyed, QIcon::Disabled);
    }
    return icon;
}
