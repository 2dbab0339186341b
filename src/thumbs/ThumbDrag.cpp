#include "thumbs/ThumbDrag.h"

#include <QMimeData>
#include <QRandomGenerator>

namespace {
const QByteArray& runToken() {
    static const QByteArray token =
        QByteArray::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, '0');
    return token;
}
} // namespace

QByteArray ThumbDragPayload(int slot) {
    return runToken() + ' ' + QByteArray::number(slot);
}

int ThumbDragSource(const QMimeData* data) {
    if (!data || !data->hasFormat(QString::fromLatin1(ThumbnailMimeType)))
        return -1;
    const QByteArray payload = data->data(QString::fromLatin1(ThumbnailMimeType));
    const QList<QByteArray> parts = payload.split(' ');
    if (parts.size() != 2 || parts[0] != runToken())
        return -1;
    bool ok = false;
    const int slot = parts[1].toInt(&ok);
    return ok && slot >= 0 ? slot : -1;
}
