#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// The character sets of metafile fonts: text bytes are in the code page of
// the selected font's character set.
namespace wmf {

enum Charset : int {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    MAC_CHARSET = 77,
    SHIFTJIS_CHARSET = 128,
    HANGUL_CHARSET = 129,
    JOHAB_CHARSET = 130,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};

// The name of the character set's code page as the text converters know it.
const char* CodecName(int charset);

// One character of a text and how many of the string's bytes it took.
struct TextPiece {
    QString text;
    int bytes = 1;
};

// Splits the bytes into characters (one or two bytes each in the double-byte
// sets) and decodes each; a byte that decodes to nothing still yields a piece,
// so the spacing array of a text record stays aligned with it.
QList<TextPiece> DecodePieces(QByteArrayView bytes, int charset);

// The whole text decoded, up to the first NUL (used for face names).
QString DecodeName(QByteArrayView bytes, int charset);

} // namespace wmf
