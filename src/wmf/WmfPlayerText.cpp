// TEXTOUT and EXTTEXTOUT: text in the selected font's character set, placed
// by the text alignment, upright on the device whatever the mapping.
#include "wmf/WmfPlayer.h"

#include "wmf/WmfRecords.h"
#include "wmf/WmfText.h"

#include <QFontMetricsF>
#include <cmath>

namespace wmf {

namespace {

constexpr int TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24;
constexpr int ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004, ETO_GLYPH_INDEX = 0x0010, ETO_PDY = 0x2000;
constexpr double kMaxFontPixels = 16384;
constexpr int kMinStretch = 25, kMaxStretch = 400;

// The rectangle of EXTTEXTOUT: left, top, right, bottom from the fifth word.
QRectF optionRect(const Params& p) {
    return QRectF(QPointF(p.s16(4), p.s16(5)), QPointF(p.s16(6), p.s16(7))).normalized();
}

// Families to try after the face the file names: Japanese text needs a font
// that has its characters, and a missing face should keep its kind.
QStringList families(const Font& f) {
    QStringList list;
    if (!f.face.isEmpty())
        list << f.face;
    const bool serif = f.face.contains(QStringLiteral("明朝")) ||
                       f.face.contains(QLatin1String("Mincho"), Qt::CaseInsensitive) ||
                       (f.pitchAndFamily & 0xF0) == 0x10;
    const bool proportional = (f.pitchAndFamily & 0x03) != 1;
    if (serif)
        list << (proportional ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAMincho"));
    list << (proportional ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAGothic"));
    return list;
}

QFont::StyleHint styleHint(int pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
    case 0x10:
        return QFont::Serif;
    case 0x20:
        return QFont::SansSerif;
    case 0x30:
        return QFont::TypeWriter;
    case 0x40:
        return QFont::Cursive;
    case 0x50:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

// The font at an em height in output pixels; dpi is the painting device's.
QFont qtFont(const Font& f, double em, int dpi) {
    QFont font;
    font.setFamilies(families(f));
    font.setStyleHint(styleHint(f.pitchAndFamily));
    font.setPointSizeF(em * 72.0 / dpi);
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

} // namespace

void Player::playText(const Params& p, quint16 function) {
    QPointF at;
    QByteArrayView bytes;
    int options = 0;
    QRectF box;
    QList<double> dx; // logical advances, one per byte
    if (function == TEXTOUT) {
        const qint64 length = p.u16(0);
        const qint64 words = (length + 1) / 2;
        if (!p.has(2 * (words + 3)))
            return;
        bytes = p.bytes(2, length);
        at = QPointF(p.s16(words + 2), p.s16(words + 1));
    } else {
        if (!p.has(8))
            return;
        at = QPointF(p.s16(1), p.s16(0));
        const qint64 length = std::max<qint64>(0, p.s16(2));
        options = p.u16(3);
        qint64 offset = 8;
        if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
            if (!p.has(16))
                return;
            box = optionRect(p);
            offset = 16;
        }
        if (!p.has(offset + length))
            return;
        bytes = p.bytes(offset, length);
        offset += (length + 1) / 2 * 2;
        const qint64 per = options & ETO_PDY ? 2 : 1;
        if (length > 0 && p.has(offset + 2 * per * length)) {
            dx.reserve(qsizetype(length));
            for (qint64 i = 0; i < length; ++i)
                dx.append(qint16(p.u16At(offset + 2 * per * i)));
        }
    }

    State& s = m_state;
    const QTransform& w = world();
    const double sx = std::hypot(w.m11(), w.m12()), sy = std::hypot(w.m21(), w.m22());
    if (s.textAlign & TA_UPDATECP)
        at = s.position;
    const QPointF origin = w.map(at);
    if (!sane(QRectF(origin, QSizeF(1, 1))))
        return;

    if (!box.isNull() && (options & ETO_OPAQUE))
        fillDevice(w.mapRect(box), s.bkColor);

    // The em height: a negative font height is the em, a positive one the
    // cell (em plus internal leading); none is the default size.
    const int dpi = m_painter.device()->logicalDpiY();
    const Font& f = s.font;
    double em = f.height == 0 ? 12 * std::abs(m_output.m22()) : std::abs(f.height) * sy;
    if (f.height > 0) {
        const QFontMetricsF reference(qtFont(f, 100, dpi), m_painter.device());
        if (reference.height() > 0)
            em = em * 100 / reference.height();
    }
    if (!(em > 0.05) || em > kMaxFontPixels || (options & ETO_GLYPH_INDEX))
        return;
    QFont font = qtFont(f, em, dpi);
    // A width as large as the height is how one office suite's export says
    // "normal width"; read as an average character width it would double
    // the text. Other widths stretch the font as the device would, within a
    // quarter to four times: Qt's glyph cache fails on (and crashes with)
    // glyphs stretched far beyond that.
    if (f.width != 0 && std::abs(std::abs(f.width) - std::abs(f.height)) > 1) {
        const QFontMetricsF natural(font, m_painter.device());
        if (natural.averageCharWidth() > 0)
            font.setStretch(std::clamp(
                int(std::lround(std::abs(f.width) * sx * 100 / natural.averageCharWidth())),
                kMinStretch, kMaxStretch));
    }
    const QFontMetricsF metrics(font, m_painter.device());

    const QList<TextPiece> pieces = DecodePieces(bytes, f.charset);
    QList<double> advances;
    advances.reserve(pieces.size());
    double total = 0;
    qsizetype byte = 0;
    for (const TextPiece& piece : pieces) {
        double advance = 0;
        if (!dx.isEmpty()) {
            for (int i = 0; i < piece.bytes && byte + i < dx.size(); ++i)
                advance += dx[byte + i] * sx;
        } else {
            advance = metrics.horizontalAdvance(piece.text) + s.charExtra * sx;
        }
        byte += piece.bytes;
        advances.append(advance);
        total += advance;
    }
    if (!std::isfinite(total) || std::abs(total) > 1e7)
        return;

    double x = 0;
    const int horizontal = s.textAlign & TA_CENTER;
    if (horizontal == TA_CENTER)
        x = -total / 2;
    else if (horizontal == TA_RIGHT)
        x = -total;
    double baseline = metrics.ascent(); // top alignment
    if ((s.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (s.textAlign & TA_BOTTOM)
        baseline = -metrics.descent();

    QTransform local = QTransform::fromTranslate(origin.x(), origin.y());
    local.rotate(-f.escapement / 10.0);
    applyClip();
    m_painter.save();
    if (!box.isNull() && (options & ETO_CLIPPED)) {
        m_painter.resetTransform();
        m_painter.setClipRect(w.mapRect(box), Qt::IntersectClip);
    }
    m_painter.setTransform(local);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (s.bkMode == 2)
        m_painter.fillRect(QRectF(std::min(x, x + total), baseline - metrics.ascent(),
                                  std::abs(total), metrics.ascent() + metrics.descent()),
                           s.bkColor);
    m_painter.setFont(font);
    m_painter.setPen(s.textColor);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        m_painter.drawText(QPointF(x, baseline), pieces[i].text);
        x += advances[i];
    }
    m_painter.restore();
    m_clipDirty = true;

    if (s.textAlign & TA_UPDATECP) {
        const double step = w.m11() != 0 ? total / w.m11() : 0;
        if (horizontal == 0)
            s.position.rx() += step;
        else if (horizontal == TA_RIGHT)
            s.position.rx() -= step;
    }
}

} // namespace wmf
