#pragma once

#include "wmf/WmfBitmap.h"
#include "wmf/WmfFile.h"
#include "wmf/WmfFrame.h"
#include "wmf/WmfMapping.h"
#include "wmf/WmfObjects.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <set>

// Plays a metafile's records onto a painter, keeping the device context the
// records change: mapping, selected objects, colours and modes, the clip and
// the saved contexts.
namespace wmf {

// Draws the picture at the given size (each side clamped to Limits::maxSide),
// anti-aliased; areas the picture leaves are transparent, or white when it
// combines colours with raster operations.
QImage RenderWmf(const File& file, const Frame& frame, QSize size, const Limits& limits = {});

class Player {
public:
    Player(const File& file, const Frame& frame, QPainter& painter, QSize target,
           const Limits& limits);
    void play();
    // How many records were played before the end, the record cap or the
    // time limit stopped it.
    qsizetype played() const { return m_played; }

private:
    struct State {
        Mapping mapping;
        Pen pen;
        Brush brush;
        Font font;
        QList<QRgb> palette;
        QColor textColor = Qt::black;
        QColor bkColor = Qt::white;
        int bkMode = 2;   // 1 transparent, 2 opaque
        int fillMode = 1; // 1 alternate, 2 winding
        int rop2 = 13;    // R2_COPYPEN
        int textAlign = 0;
        int charExtra = 0;
        QPointF position; // current position, logical
        bool clipped = false;
        QRegion clip; // in output pixels
    };

    void playRecord(const Record& r);
    bool playState(const Params& p, quint16 function);
    bool playObject(const Params& p, quint16 function);
    bool playShape(const Params& p, quint16 function);
    bool playClip(const Params& p, quint16 function);
    void playText(const Params& p, quint16 function);
    void playBitmap(const Params& p, quint16 function);

    // Object table.
    void addObject(Object object);
    void selectObject(int index);
    void deleteObject(int index);

    // Drawing support.
    const QTransform& world();
    void applyClip();
    bool sane(const QRectF& deviceRect) const;
    bool prepare(const QRectF& logicalBounds, QRectF* deviceBounds = nullptr);
    bool applyRop();
    QPen currentPen();
    void drawShape(const QPainterPath& path, bool filled);
    void fillDevice(const QRectF& deviceRect, const QBrush& brush,
                    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver);
    QBrush qtBrush(const Brush& b);
    void drawImage(const QImage& image, QRectF source, QPointF destAt, QPointF destSize,
                   quint32 rop);
    void patternBlit(QPointF at, QPointF size, quint32 rop);
    QImage blitSource(QByteArrayView bits, bool dib);
    QRect deviceRect(const QRectF& logical);

    const File& m_file;
    const Frame& m_frame;
    QPainter& m_painter;
    QSize m_target;
    const Limits& m_limits;
    QTransform m_output; // device pixels to output pixels
    QTransform m_world;  // logical to output pixels
    bool m_worldDirty = true;
    bool m_clipDirty = true;
    State m_state;
    QList<State> m_saved;
    int m_savesIgnored = 0; // SAVEDC beyond the cap, matched by RESTOREDC first
    QList<Object> m_objects;
    std::set<int> m_freeSlots;
    BitmapBudget m_budget;
    QElapsedTimer m_clock;
    qsizetype m_played = 0;
};

} // namespace wmf
