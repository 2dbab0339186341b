#include "WmfWriter.h"

#include <QRect>
#include <QSize>

namespace {

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, quint32 v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

QByteArray words(const QList<int>& list) {
    QByteArray b;
    for (int w : list)
        put16(b, w);
    return b;
}

} // namespace

WmfWriter& WmfWriter::placeable(int left, int top, int right, int bottom, int unitsPerInch) {
    m_placeable = true;
    m_box[0] = left;
    m_box[1] = top;
    m_box[2] = right;
    m_box[3] = bottom;
    m_inch = unitsPerInch;
    return *this;
}

WmfWriter& WmfWriter::headerType(int type) {
    m_type = type;
    return *this;
}

WmfWriter& WmfWriter::objectCount(int count) {
    m_objects = count;
    return *this;
}

WmfWriter& WmfWriter::record(quint16 function, const QList<int>& list) {
    return raw(function, words(list));
}

WmfWriter& WmfWriter::raw(quint16 function, const QByteArray& params) {
    QByteArray p = params;
    if (p.size() % 2)
        p.append('\0');
    return sized(quint32(3 + p.size() / 2), function, p);
}

WmfWriter& WmfWriter::sized(quint32 size, quint16 function, const QByteArray& params) {
    put32(m_records, size);
    put16(m_records, function);
    m_records.append(params);
    m_largest = std::max(m_largest, size);
    if ((function & 0xFF) >= 0xF7 || function == 0x0142)
        ++m_creates;
    return *this;
}

WmfWriter& WmfWriter::mapMode(int mode) {
    return record(0x0103, {mode});
}
WmfWriter& WmfWriter::windowOrg(int x, int y) {
    return record(0x020B, {y, x});
}
WmfWriter& WmfWriter::windowExt(int x, int y) {
    return record(0x020C, {y, x});
}
WmfWriter& WmfWriter::viewportOrg(int x, int y) {
    return record(0x020D, {y, x});
}
WmfWriter& WmfWriter::viewportExt(int x, int y) {
    return record(0x020E, {y, x});
}

QByteArray WmfWriter::colorRef(QColor c) {
    QByteArray b;
    b.append(char(c.red()));
    b.append(char(c.green()));
    b.append(char(c.blue()));
    b.append('\0');
    return b;
}

WmfWriter& WmfWriter::pen(int style, int width, QColor color) {
    return raw(0x02FA, words({style, width, 0}) + colorRef(color));
}

WmfWriter& WmfWriter::brush(int style, QColor color, int hatch) {
    return raw(0x02FC, words({style}) + colorRef(color) + words({hatch}));
}

WmfWriter& WmfWriter::font(int height, int charset, const QByteArray& face, int weight,
                           int escapement) {
    QByteArray p = words({height, 0, escapement, escapement, weight});
    p.append(char(0));       // italic
    p.append(char(0));       // underline
    p.append(char(0));       // strike-out
    p.append(char(charset)); // character set
    p.append(QByteArray(4, '\0'));
    QByteArray name = face.left(31);
    name.append(QByteArray(32 - name.size(), '\0'));
    return raw(0x02FB, p + name);
}

WmfWriter& WmfWriter::select(int index) {
    return record(0x012D, {index});
}
WmfWriter& WmfWriter::remove(int index) {
    return record(0x01F0, {index});
}

WmfWriter& WmfWriter::polygon(const QList<QPoint>& points) {
    QList<int> w{int(points.size())};
    for (const QPoint& p : points)
        w << p.x() << p.y();
    return record(0x0324, w);
}

WmfWriter& WmfWriter::polyline(const QList<QPoint>& points) {
    QList<int> w{int(points.size())};
    for (const QPoint& p : points)
        w << p.x() << p.y();
    return record(0x0325, w);
}

WmfWriter& WmfWriter::rectangle(int left, int top, int right, int bottom) {
    return record(0x041B, {bottom, right, top, left});
}

WmfWriter& WmfWriter::ellipse(int left, int top, int right, int bottom) {
    return record(0x0418, {bottom, right, top, left});
}

WmfWriter& WmfWriter::arcLike(quint16 function, QRect box, QPoint start, QPoint end) {
    return record(function, {end.y(), end.x(), start.y(), start.x(), box.bottom() + 1,
                             box.right() + 1, box.top(), box.left()});
}

WmfWriter& WmfWriter::textOut(int x, int y, const QByteArray& text) {
    QByteArray p = words({int(text.size())}) + text;
    if (p.size() % 2)
        p.append('\0');
    return raw(0x0521, p + words({y, x}));
}

WmfWriter& WmfWriter::extTextOut(int x, int y, int options, QRect box, const QByteArray& text,
                                 const QList<int>& dx) {
    QByteArray p = words({y, x, int(text.size()), options});
    if (options & 0x0006)
        p += words({box.left(), box.top(), box.right() + 1, box.bottom() + 1});
    p += text;
    if (p.size() % 2)
        p.append('\0');
    return raw(0x0A32, p + words(dx));
}

WmfWriter& WmfWriter::textAlign(int align) {
    return record(0x012E, {align});
}
WmfWriter& WmfWriter::textColor(QColor color) {
    return raw(0x0209, colorRef(color));
}
WmfWriter& WmfWriter::bkMode(int mode) {
    return record(0x0102, {mode});
}
WmfWriter& WmfWriter::rop2(int mode) {
    return record(0x0104, {mode});
}
WmfWriter& WmfWriter::saveDc() {
    return record(0x001E, {});
}
WmfWriter& WmfWriter::restoreDc(int n) {
    return record(0x0127, {n});
}
WmfWriter& WmfWriter::intersectClip(int left, int top, int right, int bottom) {
    return record(0x0416, {bottom, right, top, left});
}
WmfWriter& WmfWriter::excludeClip(int left, int top, int right, int bottom) {
    return record(0x0415, {bottom, right, top, left});
}

WmfWriter& WmfWriter::stretchDib(QRect dest, QSize source, const QByteArray& dib, quint32 rop) {
    QByteArray p;
    put32(p, rop);
    p += words({0, source.height(), source.width(), 0, 0, dest.height(), dest.width(), dest.top(),
                dest.left()});
    return raw(0x0F43, p + dib);
}

QByteArray WmfWriter::bytes(bool endRecord) const {
    QByteArray records = m_records;
    if (endRecord) {
        put32(records, 3);
        put16(records, 0);
    }
    QByteArray out;
    if (m_placeable) {
        QByteArray p;
        put32(p, 0x9AC6CDD7);
        put16(p, 0);
        for (int v : m_box)
            put16(p, v);
        put16(p, m_inch);
        put32(p, 0);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= quint16(quint8(p[2 * i]) | quint8(p[2 * i + 1]) << 8);
        put16(p, sum);
        out += p;
    }
    put16(out, m_type);
    put16(out, 9);
    put16(out, 0x0300);
    put32(out, quint32((18 + records.size()) / 2));
    put16(out, m_objects < 0 ? m_creates : m_objects);
    put32(out, m_largest);
    put16(out, 0);
    return out + records;
}

QByteArray Dib(int width, int height, int bitCount, int compression, const QList<QRgb>& colors,
               const QByteArray& bits) {
    QByteArray b;
    put32(b, 40);
    put32(b, quint32(width));
    put32(b, quint32(height));
    put16(b, 1);
    put16(b, bitCount);
    put32(b, quint32(compression));
    put32(b, quint32(bits.size()));
    put32(b, 3780);
    put32(b, 3780);
    put32(b, quint32(colors.size()));
    put32(b, 0);
    for (QRgb c : colors) {
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append('\0');
    }
    return b + bits;
}
