#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Writes Windows Metafiles record by record for the tests: each call appends
// one record with its parameters in file order; bytes() adds the headers (and
// the end record) around them.
class WmfWriter {
public:
    // A placeable header with this box and units per inch.
    WmfWriter& placeable(int left, int top, int right, int bottom, int unitsPerInch);
    // Header fields a test may want wrong.
    WmfWriter& headerType(int type);
    WmfWriter& objectCount(int count);

    // One record of 16-bit words, or of raw bytes (padded to whole words).
    WmfWriter& record(quint16 function, const QList<int>& words);
    WmfWriter& raw(quint16 function, const QByteArray& params);
    // A record whose size field says words (counting the 3-word header)
    // whatever the parameters that follow are.
    WmfWriter& sized(quint32 words, quint16 function, const QByteArray& params);

    WmfWriter& mapMode(int mode);
    WmfWriter& windowOrg(int x, int y);
    WmfWriter& windowExt(int x, int y);
    WmfWriter& viewportOrg(int x, int y);
    WmfWriter& viewportExt(int x, int y);
    WmfWriter& pen(int style, int width, QColor color);
    WmfWriter& brush(int style, QColor color, int hatch = 0);
    WmfWriter& font(int height, int charset, const QByteArray& face, int weight = 400,
                    int escapement = 0);
    WmfWriter& select(int index);
    WmfWriter& remove(int index);
    WmfWriter& polygon(const QList<QPoint>& points);
    WmfWriter& polyline(const QList<QPoint>& points);
    WmfWriter& rectangle(int left, int top, int right, int bottom);
    WmfWriter& ellipse(int left, int top, int right, int bottom);
    // PIE, ARC or CHORD over the box from the start point to the end point.
    WmfWriter& arcLike(quint16 function, QRect box, QPoint start, QPoint end);
    WmfWriter& textOut(int x, int y, const QByteArray& text);
    WmfWriter& extTextOut(int x, int y, int options, QRect box, const QByteArray& text,
                          const QList<int>& dx);
    WmfWriter& textAlign(int align);
    WmfWriter& textColor(QColor color);
    WmfWriter& bkMode(int mode);
    WmfWriter& rop2(int mode);
    WmfWriter& saveDc();
    WmfWriter& restoreDc(int n);
    WmfWriter& intersectClip(int left, int top, int right, int bottom);
    WmfWriter& excludeClip(int left, int top, int right, int bottom);
    // STRETCHDIB of a device-independent bitmap onto the logical rectangle.
    WmfWriter& stretchDib(QRect dest, QSize source, const QByteArray& dib,
                          quint32 rop = 0x00CC0020);

    // The file: placeable header (if any), metafile header, records, end.
    QByteArray bytes(bool endRecord = true) const;

    static QByteArray colorRef(QColor c);

private:
    QByteArray m_records;
    quint32 m_largest = 3;
    bool m_placeable = false;
    int m_box[4] = {0, 0, 0, 0};
    int m_inch = 0;
    int m_type = 1;
    int m_objects = -1; // -1: count the create records
    int m_creates = 0;
};

// A device-independent bitmap: 40-byte header, colour table, pixel data.
QByteArray Dib(int width, int height, int bitCount, int compression, const QList<QRgb>& colors,
               const QByteArray& bits);
