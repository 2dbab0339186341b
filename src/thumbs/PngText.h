#pragma once

// What the thumbnail cache reads and writes of a PNG file without decoding
// its pixels: the size in its header, its text, whether it is complete, and
// text chunks put in after Qt has encoded the pixels (Qt writes long values
// as compressed zTXt chunks, and its reader cannot look up a keyword that
// holds "::").
#include "thumbs/CacheRules.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSize>

struct PngSummary {
    QSize size;            // from the header; invalid when the bytes are no PNG
    PngTags text;          // the text chunks anywhere in the file; compressed
                           // ones only for the thumbnail tags
    bool complete = false; // every chunk whole, up to the closing IEND
};
PngSummary ReadPngSummary(const QByteArray& png);

// The PNG with its text chunks (tEXt, zTXt, iTXt) replaced by one tEXt chunk
// per tag, right after the header. Empty when the bytes are no PNG.
QByteArray WithPngText(const QByteArray& png, const QList<QPair<QByteArray, QByteArray>>& tags);

// The CRC-32 that closes every PNG chunk (over its type and data).
quint32 PngCrc(const QByteArray& bytes);
