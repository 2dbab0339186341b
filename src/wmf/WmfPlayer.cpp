// The device context and the shapes; text and bitmaps are in their own files.
#include "wmf/WmfPlayer.h"

#include "wmf/WmfRecords.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace wmf {

namespace {

// Output coordinates beyond this many pixels are no picture of ours: such a
// shape is skipped rather than handed to the rasterizer.
constexpr double kCoordinateLimit = 1e7;

double normalizedDegrees(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

QRectF rectFrom(qint16 left, qint16 top, qint16 right, qint16 bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
}

// Records that combine colours rather than paint over: the picture then
// starts on white, as it would on a screen.
bool combinesColours(const File& file) {
    for (const Record& r : file.records) {
        const Params p(file, r);
        if (r.function == SETROP2 && p.has(2) && p.u16(0) != 13)
            return true;
        if ((r.function == STRETCHDIB || r.function == DIBSTRETCHBLT || r.function == DIBBITBLT ||
             r.function == STRETCHBLT || r.function == BITBLT) &&
            p.has(4)) {
            const quint32 rop = p.u32At(0);
            if (rop != 0x00CC0020 && rop != 0x00F00021 && rop != 0x00000042 && rop != 0x00FF0062)
                return true;
        }
    }
    return false;
}

// The union of rectangles [from, to), halves first: adding them one by one
// costs the square of their number.
QRegion unite(const QList<QRect>& rects, qsizetype from, qsizetype to) {
    if (to - from == 1)
        return QRegion(rects[from]);
    if (to <= from)
        return QRegion();
    const qsizetype middle = from + (to - from) / 2;
    return unite(rects, from, middle).united(unite(rects, middle, to));
}

template <class T> Object OrEmpty(std::optional<T> read) {
    return read ? Object(std::move(*read)) : Object(std::monostate());
}

} // namespace

QImage RenderWmf(const File& file, const Frame& frame, QSize size, const Limits& limits) {
    size = size.boundedTo(QSize(limits.maxSide, limits.maxSide)).expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(combinesColours(file) ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    Player(file, frame, painter, size, limits).play();
    painter.end();
    return image;
}

Player::Player(const File& file, const Frame& frame, QPainter& painter, QSize target,
               const Limits& limits)
    : m_file(file), m_frame(frame), m_painter(painter), m_target(target), m_limits(limits),
      m_budget(limits.maxBitmapPixels, limits.maxTotalBitmapPixels) {
    m_output = QTransform::fromTranslate(-frame.device.left(), -frame.device.top()) *
               QTransform::fromScale(target.width() / frame.device.width(),
                                     target.height() / frame.device.height());
    m_state.mapping = frame.initial;
}

void Player::play() {
    m_clock.start();
    for (const Record& r : m_file.records) {
        if (m_clock.elapsed() > m_limits.maxRenderMilliseconds)
            break;
        playRecord(r);
        ++m_played;
    }
}

void Player::playRecord(const Record& r) {
    const Params p(m_file, r);
    if (m_state.mapping.apply(p, r.function)) {
        m_worldDirty = true;
        return;
    }
    if (playState(p, r.function) || playObject(p, r.function) || playClip(p, r.function) ||
        playShape(p, r.function))
        return;
    switch (r.function) {
    case TEXTOUT:
    case EXTTEXTOUT:
        playText(p, r.function);
        break;
    case STRETCHDIB:
    case DIBSTRETCHBLT:
    case DIBBITBLT:
    case STRETCHBLT:
    case BITBLT:
    case PATBLT:
    case SETDIBTODEV:
        playBitmap(p, r.function);
        break;
    default:
        break; // escapes, palettes' animation, flood fills and unknown records
    }
}

bool Player::playState(const Params& p, quint16 function) {
    State& s = m_state;
    switch (function) {
    case SETBKMODE:
        if (p.has(2) && (p.u16(0) == 1 || p.u16(0) == 2))
            s.bkMode = p.u16(0);
        return true;
    case SETBKCOLOR:
        if (p.has(4))
            s.bkColor = ColorRef(p.u32At(0));
        return true;
    case SETTEXTCOLOR:
        if (p.has(4))
            s.textColor = ColorRef(p.u32At(0));
        return true;
    case SETPOLYFILLMODE:
        if (p.has(2) && (p.u16(0) == 1 || p.u16(0) == 2))
            s.fillMode = p.u16(0);
        return true;
    case SETROP2:
        if (p.has(2) && p.u16(0) >= 1 && p.u16(0) <= 16)
            s.rop2 = p.u16(0);
        return true;
    case SETTEXTALIGN:
        if (p.has(2))
            s.textAlign = p.u16(0);
        return true;
    case SETTEXTCHAREXTRA:
        if (p.has(2))
            s.charExtra = p.s16(0);
        return true;
    case MOVETO:
        if (p.has(4))
            s.position = QPointF(p.s16(1), p.s16(0));
        return true;
    case SAVEDC:
        if (m_saved.size() < m_limits.maxSavedStates)
            m_saved.append(s);
        else
            ++m_savesIgnored;
        return true;
    case RESTOREDC: {
        if (!p.has(2))
            return true;
        const int n = p.s16(0);
        qsizetype level = -1; // the saved context to return to
        if (n < 0) {
            int back = -n;
            const int ignored = std::min(back, m_savesIgnored);
            m_savesIgnored -= ignored;
            back -= ignored;
            if (back > 0 && back <= m_saved.size())
                level = m_saved.size() - back;
        } else if (n > 0 && n <= m_saved.size()) {
            level = n - 1;
            m_savesIgnored = 0;
        }
        if (level >= 0) {
            s = m_saved[level];
            m_saved.resize(level);
            m_worldDirty = m_clipDirty = true;
        }
        return true;
    }
    default:
        return false;
    }
}

bool Player::playObject(const Params& p, quint16 function) {
    // An object the record does not describe soundly still takes its slot,
    // as the writer counted it.
    switch (function) {
    case CREATEPENINDIRECT:
        addObject(OrEmpty(ReadPen(p)));
        return true;
    case CREATEBRUSHINDIRECT:
        addObject(OrEmpty(ReadBrush(p)));
        return true;
    case DIBCREATEPATTERNBRUSH:
        addObject(OrEmpty(ReadDibPatternBrush(p, m_state.palette, m_budget)));
        return true;
    case CREATEPATTERNBRUSH: {
        // The old bitmap form: its 10-byte header, 18 reserved bytes, the bits.
        Brush brush{Brush::Solid, Qt::black, 0, {}};
        if (p.has(28)) {
            QByteArray bitmap = p.bytes(0, 10).toByteArray();
            bitmap += p.bytes(28, p.size() - 28).toByteArray();
            brush.pattern = DecodeBitmap16(bitmap, m_state.textColor, m_state.bkColor, m_budget);
            if (!brush.pattern.isNull())
                brush.style = Brush::DibPattern;
        }
        addObject(brush);
        return true;
    }
    case CREATEFONTINDIRECT:
        addObject(OrEmpty(ReadFont(p)));
        return true;
    case CREATEPALETTE:
        addObject(OrEmpty(ReadPalette(p)));
        return true;
    case CREATEREGION:
        addObject(OrEmpty(ReadRegion(p)));
        return true;
    case SELECTOBJECT:
    case SELECTPALETTE:
        if (p.has(2))
            selectObject(p.u16(0));
        return true;
    case DELETEOBJECT:
        if (p.has(2))
            deleteObject(p.u16(0));
        return true;
    default:
        return false;
    }
}

void Player::addObject(Object object) {
    int index;
    if (!m_freeSlots.empty() && *m_freeSlots.begin() < m_objects.size()) {
        index = *m_freeSlots.begin();
        m_freeSlots.erase(m_freeSlots.begin());
        m_objects[index] = std::move(object);
    } else if (m_objects.size() < m_limits.maxObjects) {
        m_objects.append(std::move(object));
    }
    // A full table drops the object, as the device context would fail it.
}

void Player::selectObject(int index) {
    if (index < 0 || index >= m_objects.size())
        return;
    const Object& o = m_objects[index];
    if (auto pen = std::get_if<Pen>(&o)) {
        m_state.pen = *pen;
    } else if (auto brush = std::get_if<Brush>(&o)) {
        m_state.brush = *brush;
    } else if (auto font = std::get_if<Font>(&o)) {
        m_state.font = *font;
    } else if (auto palette = std::get_if<Palette>(&o)) {
        m_state.palette = palette->colors;
    } else if (auto region = std::get_if<Region>(&o)) {
        QList<QRect> rects;
        rects.reserve(region->rects.size());
        for (const QRect& r : region->rects)
            rects.append(deviceRect(QRectF(r.topLeft(), QSizeF(r.width(), r.height()))));
        m_state.clip = unite(rects, 0, rects.size());
        m_state.clipped = true;
        m_clipDirty = true;
    }
}

void Player::deleteObject(int index) {
    if (index < 0 || index >= m_objects.size())
        return;
    m_objects[index] = std::monostate();
    m_freeSlots.insert(index);
}

const QTransform& Player::world() {
    if (m_worldDirty) {
        m_world = m_state.mapping.toDevice() * m_output;
        m_worldDirty = false;
    }
    return m_world;
}

QRect Player::deviceRect(const QRectF& logical) {
    const QRectF d = world().mapRect(logical);
    if (!sane(d))
        return {};
    return QRect(QPoint(int(std::lround(d.left())), int(std::lround(d.top()))),
                 QPoint(int(std::lround(d.right())) - 1, int(std::lround(d.bottom())) - 1));
}

bool Player::playClip(const Params& p, quint16 function) {
    State& s = m_state;
    switch (function) {
    case INTERSECTCLIPRECT:
    case EXCLUDECLIPRECT: {
        if (!p.has(8))
            return true;
        const QRect r = deviceRect(rectFrom(p.s16(3), p.s16(2), p.s16(1), p.s16(0)));
        if (!s.clipped) {
            s.clip = QRegion(QRect(QPoint(0, 0), m_target));
            s.clipped = true;
        }
        if (function == INTERSECTCLIPRECT)
            s.clip &= r;
        else
            s.clip -= r;
        m_clipDirty = true;
        return true;
    }
    case SELECTCLIPREGION: {
        const int index = p.has(2) ? p.u16(0) : -1;
        if (index >= 0 && index < m_objects.size() &&
            std::holds_alternative<Region>(m_objects[index])) {
            selectObject(index);
        } else {
            s.clipped = false; // no region: the clip is removed
            m_clipDirty = true;
        }
        return true;
    }
    case OFFSETCLIPRGN: {
        if (!p.has(4) || !s.clipped)
            return true;
        const QPointF d = world().map(QPointF(p.s16(1), p.s16(0))) - world().map(QPointF(0, 0));
        if (sane(QRectF(d, QSizeF(1, 1))))
            s.clip.translate(int(std::lround(d.x())), int(std::lround(d.y())));
        m_clipDirty = true;
        return true;
    }
    default:
        return false;
    }
}

void Player::applyClip() {
    if (!m_clipDirty)
        return;
    m_painter.resetTransform();
    if (m_state.clipped)
        m_painter.setClipRegion(m_state.clip);
    else
        m_painter.setClipping(false);
    m_clipDirty = false;
}

bool Player::sane(const QRectF& d) const {
    return std::isfinite(d.left()) && std::isfinite(d.top()) && std::isfinite(d.right()) &&
           std::isfinite(d.bottom()) && std::abs(d.left()) < kCoordinateLimit &&
           std::abs(d.right()) < kCoordinateLimit && std::abs(d.top()) < kCoordinateLimit &&
           std::abs(d.bottom()) < kCoordinateLimit;
}

// Sets the clip and the logical transform for a shape within the bounds;
// false when it lies where nothing can be drawn.
bool Player::prepare(const QRectF& logicalBounds, QRectF* deviceBounds) {
    const QRectF d = world().mapRect(logicalBounds);
    if (!sane(d))
        return false;
    if (deviceBounds)
        *deviceBounds = d;
    applyClip();
    m_painter.setTransform(world());
    return true;
}

// The composition for the current mix mode; false for R2_NOP.
bool Player::applyRop() {
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (m_state.rop2) {
    case 2:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case 3:
        mode = QPainter::RasterOp_NotSourceAndDestination;
        break;
    case 4:
        mode = QPainter::RasterOp_NotSource;
        break;
    case 5:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case 6:
        mode = QPainter::RasterOp_NotDestination;
        break;
    case 7:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case 8:
        mode = QPainter::RasterOp_NotSourceOrNotDestination;
        break;
    case 9:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case 10:
        mode = QPainter::RasterOp_NotSourceXorDestination;
        break;
    case 11:
        return false;
    case 12:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        break;
    case 14:
        mode = QPainter::RasterOp_SourceOrNotDestination;
        break;
    case 15:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    default:
        break; // 1 black, 13 copy and 16 white paint over
    }
    m_painter.setCompositionMode(mode);
    return true;
}

QPen Player::currentPen() {
    const Pen& p = m_state.pen;
    if (p.style == Pen::Null)
        return Qt::NoPen;
    QColor color = p.color;
    if (m_state.rop2 == 1)
        color = Qt::black;
    else if (m_state.rop2 == 16)
        color = Qt::white;
    QPen pen(color);
    // A pen narrower than a device pixel is drawn one pixel wide.
    const double scale = std::hypot(world().m11(), world().m12());
    if (p.width * scale >= 1.0)
        pen.setWidthF(std::min(p.width, 1e5 / std::max(scale, 1e-9)));
    else
        pen.setWidth(0);
    // Wide pens are solid; styled lines are one pixel wide.
    if (p.width <= 1) {
        static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine};
        pen.setStyle(styles[p.style]);
    }
    pen.setCapStyle(p.endCap == 1 ? Qt::SquareCap : p.endCap == 2 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(p.join == 1 ? Qt::BevelJoin : p.join == 2 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
}

QBrush Player::qtBrush(const Brush& b) {
    QColor color = b.color;
    if (m_state.rop2 == 1)
        color = Qt::black;
    else if (m_state.rop2 == 16)
        color = Qt::white;
    switch (b.style) {
    case Brush::Null:
        return Qt::NoBrush;
    case Brush::Hatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(color, hatches[b.hatch]);
    }
    case Brush::DibPattern: {
        // Patterns are laid in device pixels from the device's origin.
        QBrush brush(b.pattern);
        brush.setTransform(world().inverted());
        return brush;
    }
    default:
        return QBrush(color);
    }
}

void Player::drawShape(const QPainterPath& path, bool filled) {
    QRectF bounds;
    if (!prepare(path.boundingRect(), &bounds) || !applyRop())
        return;
    QPen pen = currentPen();
    const QBrush brush = filled ? qtBrush(m_state.brush) : QBrush(Qt::NoBrush);
    // Anti-aliased fills that meet edge to edge (a gradient built of bands)
    // would show seams where both are half covered: an outline-less solid
    // fill gets a thin rim of its own colour, as the device's pixel-exact
    // fills have no gaps.
    if (pen.style() == Qt::NoPen && brush.style() == Qt::SolidPattern && m_state.rop2 == 13) {
        pen = QPen(brush.color(), 0.6);
        pen.setCosmetic(true);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    // Qt's anti-aliased rasterizer spends time on a polygon's whole extent,
    // the part outside the image included: seconds for a shape a million
    // pixels tall. A shape reaching far past the picture is drawn aliased,
    // which the rasterizer clips to the image first.
    if (pen.style() != Qt::NoPen && !pen.isCosmetic()) {
        const double reach =
            pen.widthF() * std::max(std::abs(world().m11()), std::abs(world().m22()));
        bounds.adjust(-reach, -reach, reach, reach);
    }
    const double margin = std::max({2048, m_target.width(), m_target.height()});
    const bool far = !QRectF(QPointF(0, 0), m_target)
                          .adjusted(-margin, -margin, margin, margin)
                          .contains(bounds);
    const bool smooth = m_painter.testRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::Antialiasing, smooth && !far);
    if (filled && m_state.brush.style == Brush::Hatched && m_state.bkMode == 2) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_state.bkColor);
        m_painter.drawPath(path);
    }
    m_painter.setPen(pen);
    m_painter.setBrush(brush);
    m_painter.drawPath(path);
    m_painter.setRenderHint(QPainter::Antialiasing, smooth);
}

void Player::fillDevice(const QRectF& rect, const QBrush& brush, QPainter::CompositionMode mode) {
    if (!sane(rect))
        return;
    applyClip();
    m_painter.resetTransform();
    m_painter.setCompositionMode(mode);
    m_painter.fillRect(rect, brush);
}

bool Player::playShape(const Params& p, quint16 function) {
    State& s = m_state;
    const Qt::FillRule rule = s.fillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
    auto point = [&](qint64 word) { return QPointF(p.s16(word), p.s16(word + 1)); };
    switch (function) {
    case LINETO: {
        if (!p.has(4))
            return true;
        const QPointF to(p.s16(1), p.s16(0));
        QPainterPath path(s.position);
        path.lineTo(to);
        s.position = to;
        drawShape(path, false);
        return true;
    }
    case POLYGON:
    case POLYLINE: {
        const qint64 n = p.u16(0);
        if (!p.has(2 + 4 * n) || n < 2)
            return true;
        QPolygonF polygon;
        polygon.reserve(qsizetype(n));
        for (qint64 i = 0; i < n; ++i)
            polygon.append(point(1 + 2 * i));
        QPainterPath path;
        path.setFillRule(rule);
        path.addPolygon(polygon);
        if (function == POLYGON)
            path.closeSubpath();
        drawShape(path, function == POLYGON);
        return true;
    }
    case POLYPOLYGON: {
        const qint64 polygons = p.u16(0);
        if (!p.has(2 + 2 * polygons))
            return true;
        qint64 total = 0;
        for (qint64 i = 0; i < polygons; ++i)
            total += p.u16(1 + i);
        if (!p.has(2 + 2 * polygons + 4 * total))
            return true;
        QPainterPath path;
        path.setFillRule(rule);
        qint64 word = 1 + polygons;
        for (qint64 i = 0; i < polygons; ++i) {
            const qint64 n = p.u16(1 + i);
            if (n == 0)
                continue;
            path.moveTo(point(word));
            for (qint64 k = 1; k < n; ++k)
                path.lineTo(point(word + 2 * k));
            path.closeSubpath();
            word += 2 * n;
        }
        drawShape(path, true);
        return true;
    }
    case RECTANGLE:
    case ELLIPSE: {
        if (!p.has(8))
            return true;
        QPainterPath path;
        const QRectF r = rectFrom(p.s16(3), p.s16(2), p.s16(1), p.s16(0));
        if (function == RECTANGLE)
            path.addRect(r);
        else
            path.addEllipse(r);
        drawShape(path, true);
        return true;
    }
    case ROUNDRECT: {
        if (!p.has(12))
            return true;
        const QRectF r = rectFrom(p.s16(5), p.s16(4), p.s16(3), p.s16(2));
        const double rx = std::min(std::abs(double(p.s16(1))) / 2, r.width() / 2);
        const double ry = std::min(std::abs(double(p.s16(0))) / 2, r.height() / 2);
        QPainterPath path;
        path.addRoundedRect(r, rx, ry);
        drawShape(path, true);
        return true;
    }
    case ARC:
    case PIE:
    case CHORD: {
        if (!p.has(16))
            return true;
        const QRectF r = rectFrom(p.s16(7), p.s16(6), p.s16(5), p.s16(4));
        if (r.width() <= 0 || r.height() <= 0)
            return true;
        const QPointF c = r.center();
        const double a = r.width() / 2, b = r.height() / 2;
        // The radial line through each given point meets the ellipse at this
        // parametric angle (degrees, counter-clockwise on a y-down page).
        auto angle = [&](QPointF pt) {
            const double theta = std::atan2(-(pt.y() - c.y()), pt.x() - c.x());
            return normalizedDegrees(std::atan2(a * std::sin(theta), b * std::cos(theta)) * 180 /
                                     M_PI);
        };
        double start = angle(QPointF(p.s16(3), p.s16(2)));
        double end = angle(QPointF(p.s16(1), p.s16(0)));
        // Arcs run counter-clockwise on the device: a mirroring map turns them.
        const QTransform& w = world();
        if (w.m11() * w.m22() - w.m12() * w.m21() < 0)
            std::swap(start, end);
        double sweep = normalizedDegrees(end - start);
        if (sweep == 0)
            sweep = 360;
        QPainterPath path;
        if (function == PIE) {
            path.moveTo(c);
            path.arcTo(r, start, sweep);
            path.closeSubpath();
        } else {
            path.arcMoveTo(r, start);
            path.arcTo(r, start, sweep);
            if (function == CHORD)
                path.closeSubpath();
        }
        drawShape(path, function != ARC);
        return true;
    }
    case SETPIXEL: {
        if (!p.has(8))
            return true;
        const QPointF d = world().map(QPointF(p.s16(3), p.s16(2)));
        fillDevice(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1), ColorRef(p.u32At(0)));
        return true;
    }
    case PAINTREGION:
    case FILLREGION:
    case INVERTREGION: {
        const int index = p.has(2) ? p.u16(0) : -1;
        if (index < 0 || index >= m_objects.size())
            return true;
        const Region* region = std::get_if<Region>(&m_objects[index]);
        if (!region)
            return true;
        QBrush brush = qtBrush(s.brush);
        if (function == FILLREGION) {
            const int b = p.has(4) ? p.u16(1) : -1;
            if (b < 0 || b >= m_objects.size() || !std::holds_alternative<Brush>(m_objects[b]))
                return true;
            brush = qtBrush(std::get<Brush>(m_objects[b]));
        }
        for (const QRect& r : region->rects) {
            const QRect d = deviceRect(QRectF(r.topLeft(), QSizeF(r.width(), r.height())));
            if (function == INVERTREGION)
                fillDevice(d, Qt::white, QPainter::RasterOp_NotDestination);
            else
                fillDevice(d, brush);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace wmf
