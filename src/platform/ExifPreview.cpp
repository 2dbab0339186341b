#include "platform/ExifPreview.h"

#include "platform/JpegHead.h"

#include <QBuffer>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kProportionTolerance = 0.02;
// A preview is a small picture: a larger one is not decoded as one.
constexpr qint64 kMostPreviewPixels = 1024 * 1024;
// How bright a bar may be, by the brightest channel of its pixels: black
// under the noise of the compression, which blurs the picture's edge into the
// bar beside it, into the line next to the picture (the seam) most of all.
constexpr int kBarPixel = 80;  // any pixel of a bar but the seam
constexpr int kBarMean = 40;   // a line of a bar on average, but the seam
constexpr int kSeamMean = 128; // the seam on average (a saturated colour bleeds into it)
// How far bars may lie off the centre of the preview, in lines.
constexpr int kMostOffCentre = 8;

// The preview's pixels, when its bytes are a whole JPEG (up to its end of
// image) no larger than the picture that decodes to the size its header
// claims.
std::optional<QImage> decodedPreview(const QByteArray& bytes, QSize picture) {
    const std::optional<JpegHead> own = ReadJpegHead(BufferSource(bytes));
    if (!own || bytes.lastIndexOf(QByteArray("\xFF\xD9", 2)) < 2 ||
        own->stored.width() > picture.width() || own->stored.height() > picture.height() ||
        qint64(own->stored.width()) * own->stored.height() > kMostPreviewPixels)
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false); // turned by the picture's orientation, not its own
    QImage image;
    if (!reader.read(&image) || image.size() != own->stored)
        return std::nullopt;
    return image.convertToFormat(QImage::Format_RGB32);
}

// Whether a line of the preview (a row or a column) may be part of a bar.
bool barLine(const QImage& rgb, QRect line, bool seam) {
    int sum = 0;
    for (int y = line.top(); y <= line.bottom(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = line.left(); x <= line.right(); ++x) {
            const int v = std::max({qRed(pixels[x]), qGreen(pixels[x]), qBlue(pixels[x])});
            if (v > kBarPixel && !seam)
                return false;
            sum += v;
        }
    }
    return sum <= (seam ? kSeamMean : kBarMean) * line.width() * line.height();
}

} // namespace

bool CloseProportions(QSize a, QSize b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const double r = double(a.width()) * b.height() / (double(a.height()) * b.width());
    return std::max(r, 1 / r) <= 1 + kProportionTolerance;
}

std::optional<QRect> PreviewContent(const QImage& preview, QSize picture) {
    const QSize size = preview.size();
    if (CloseProportions(size, picture))
        return preview.rect();
    if (size.isEmpty() || picture.isEmpty())
        return std::nullopt;
    // Bars above and below a picture wider than the preview, else left and
    // right of it; `across` counts the lines they are made of.
    const bool wide =
        double(picture.width()) * size.height() > double(picture.height()) * size.width();
    const int across = wide ? size.height() : size.width();
    const double shown = wide ? double(size.width()) * picture.height() / picture.width()
                              : double(size.height()) * picture.width() / picture.height();
    const int bars = across - int(std::lround(shown));
    auto lines = [&](int from, int to) {
        return wide ? QRect(0, from, size.width(), to - from)
                    : QRect(from, 0, to - from, size.height());
    };
    if (!CloseProportions(lines(0, across - bars).size(), picture))
        return std::nullopt;
    const QImage rgb = preview.convertToFormat(QImage::Format_RGB32);
    // Lines [from, to) are a bar whose seam is the line at `seam`.
    auto bar = [&](int from, int to, int seam) {
        for (int i = from; i < to; ++i)
            if (!barLine(rgb, lines(i, i + 1), i == seam))
                return false;
        return true;
    };
    // Centred bars first: a picture dark at its edges keeps them.
    for (int off = 0; off <= kMostOffCentre; ++off) {
        for (const int before : {bars / 2 - off, bars / 2 + off}) {
            const int after = across - (bars - before);
            if (before >= 0 && before <= bars && bar(0, before, before - 1) &&
                bar(after, across, after))
                return lines(before, after);
        }
    }
    return std::nullopt;
}

QImageIOHandler::Transformations TurnOf(int orientation) {
    using H = QImageIOHandler;
    static const H::Transformations turns[] = {H::TransformationNone,
                                               H::TransformationMirror,
                                               H::TransformationRotate180,
                                               H::TransformationFlip,
                                               H::TransformationFlipAndRotate90,
                                               H::TransformationRotate90,
                                               H::TransformationMirrorAndRotate90,
                                               H::TransformationRotate270};
    return orientation >= 1 && orientation <= 8 ? turns[orientation - 1] : H::TransformationNone;
}

QImage Oriented(QImage image, int orientation) {
    using H = QImageIOHandler;
    const H::Transformations turn = TurnOf(orientation);
    if (turn & (H::TransformationMirror | H::TransformationFlip))
        image =
            std::move(image).mirrored(turn & H::TransformationMirror, turn & H::TransformationFlip);
    if (turn & H::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

std::optional<SourcePicture> EmbeddedPreview(const ByteSource& head) {
    const std::optional<JpegHead> read = ReadJpegHead(head);
    if (!read || read->preview.isEmpty())
        return std::nullopt;
    const std::optional<QImage> preview = decodedPreview(read->preview, read->stored);
    if (!preview)
        return std::nullopt;
    const std::optional<QRect> content = PreviewContent(*preview, read->stored);
    if (!content)
        return std::nullopt;
    SourcePicture out;
    out.image = Oriented(*content == preview->rect() ? *preview : preview->copy(*content),
                         read->orientation);
    const bool quarter = TurnOf(read->orientation) & QImageIOHandler::TransformationRotate90;
    out.natural = quarter ? read->stored.transposed() : read->stored;
    return out;
}
