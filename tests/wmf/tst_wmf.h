#pragma once

// What the metafile tests share: colours, pixel comparisons and small files.
#include "TestSupport.h"
#include "WmfWriter.h"
#include "platform/Picture.h"
#include "wmf/WmfBitmap.h"
#include "wmf/WmfFile.h"
#include "wmf/WmfFrame.h"
#include "wmf/WmfPlayer.h"
#include "wmf/WmfText.h"
#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QtTest>

Q_DECLARE_METATYPE(FsStatus)

inline const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

// A 100 x 100 unit picture (100 x 100 pixels) in the scalable map mode,
// with a red brush and no outline selected.
inline WmfWriter redCanvas() {
    WmfWriter w;
    w.mapMode(8).windowOrg(0, 0).windowExt(100, 100);
    w.pen(5, 0, Qt::black).select(0).brush(0, kRed).select(1);
    return w;
}

// The colour at a pixel on white (transparent areas count as white).
inline QColor onWhite(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    const double a = c.alphaF();
    return QColor::fromRgbF(float(c.redF() * a + (1 - a)), float(c.greenF() * a + (1 - a)),
                            float(c.blueF() * a + (1 - a)));
}

inline bool near(QColor a, QColor b, int tolerance = 40) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

inline QString pixelText(const QImage& image, QPoint at) {
    return onWhite(image, at.x(), at.y()).name() +
           QStringLiteral(" at %1,%2").arg(at.x()).arg(at.y());
}

// Mean difference per channel (0..255) of two pictures laid on white and
// reduced to a coarse grid.
inline double meanDifference(const QImage& a, const QImage& b) {
    const QSize grid(48, 36);
    auto flat = [&](const QImage& image) {
        QImage white(image.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        QPainter p(&white);
        p.drawImage(0, 0, image);
        p.end();
        return white.scaled(grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage fa = flat(a), fb = flat(b);
    double sum = 0;
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x) {
            const QColor p = fa.pixelColor(x, y), q = fb.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                   std::abs(p.blue() - q.blue());
        }
    return sum / (3.0 * grid.width() * grid.height());
}

// The same, after cutting each picture to what is drawn on it (where it is
// not white): another renderer may place the drawing with other margins.
inline double drawnDifference(const QImage& a, const QImage& b) {
    auto drawn = [](const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!near(onWhite(image, x, y), Qt::white, 24))
                    box |= QRect(x, y, 1, 1);
        return image.copy(box);
    };
    return meanDifference(drawn(a), drawn(b));
}

inline int countNear(const QImage& image, QRect area, QColor colour, int tolerance = 60) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (near(onWhite(image, x, y), colour, tolerance))
                ++n;
    return n;
}

inline QByteArray rle8TwoRows() {
    // Bottom row: four pixels of colour 1; top row: four of colour 0.
    return QByteArray("\x04\x01\x00\x00\x04\x00\x00\x01", 8);
}

class TestWmf : public QObject {
    Q_OBJECT
private slots:
    void foundByContent_data();
    void foundByContent();
    void naturalSize_data();
    void naturalSize();
    void redPolygonLandsWhereExpected_data();
    void redPolygonLandsWhereExpected();
    void negativeExtentFlips_data();
    void negativeExtentFlips();
    void pieIsAPie_data();
    void pieIsAPie();
    void clipAndSavedContexts_data();
    void clipAndSavedContexts();
    void fillModes_data();
    void fillModes();
    void brushes();
    void textAlignment_data();
    void textAlignment();
    void mixModes_data();
    void mixModes();
    void charsetsDecode_data();
    void charsetsDecode();
    void shiftJisTextDrawsJapaneseGlyphs();
    void extTextOutSpacingAndClip();
    void embeddedBitmaps_data();
    void embeddedBitmaps();
    void bitmapRecords_data();
    void bitmapRecords();
    void indexesPastTheColourTable_data();
    void indexesPastTheColourTable();
    void thumbnailIsDrawnAtBoxSize();
    void thirdPartyFiles_data();
    void thirdPartyFiles();
    void badInput_data();
    void badInput();
    void recordCap();
    void renderTimeCap();
    void farShapesDrawQuickly_data();
    void farShapesDrawQuickly();
    void savedContextCap();
    void fuzzFindings_data();
    void fuzzFindings();
};
