#include "wmf/WmfText.h"

#include <QStringDecoder>
#include <map>

namespace wmf {

const char* CodecName(int charset) {
    switch (charset) {
    case SHIFTJIS_CHARSET:
        return "Shift_JIS";
    case HANGUL_CHARSET:
        return "windows-949";
    case JOHAB_CHARSET:
        return "Johab";
    case GB2312_CHARSET:
        return "GBK";
    case CHINESEBIG5_CHARSET:
        return "Big5";
    case GREEK_CHARSET:
        return "windows-1253";
    case TURKISH_CHARSET:
        return "windows-1254";
    case VIETNAMESE_CHARSET:
        return "windows-1258";
    case HEBREW_CHARSET:
        return "windows-1255";
    case ARABIC_CHARSET:
        return "windows-1256";
    case BALTIC_CHARSET:
        return "windows-1257";
    case RUSSIAN_CHARSET:
        return "windows-1251";
    case THAI_CHARSET:
        return "windows-874";
    case EASTEUROPE_CHARSET:
        return "windows-1250";
    case MAC_CHARSET:
        return "macintosh";
    case OEM_CHARSET:
        return "IBM437";
    case SYMBOL_CHARSET:
        return "ISO-8859-1";
    default:
        return "windows-1252";
    }
}

namespace {

bool isLeadByte(int charset, quint8 b) {
    switch (charset) {
    case SHIFTJIS_CHARSET:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case HANGUL_CHARSET:
    case GB2312_CHARSET:
    case CHINESEBIG5_CHARSET:
        return b >= 0x81 && b <= 0xFE;
    case JOHAB_CHARSET:
        return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xF9);
    default:
        return false;
    }
}

// Converters are costly to open: one per code page and thread. A code page
// the converters lack falls back to Latin-1, which maps every byte.
QStringDecoder& decoderFor(int charset) {
    thread_local std::map<int, QStringDecoder> decoders;
    auto it = decoders.find(charset);
    if (it == decoders.end()) {
        QStringDecoder d(CodecName(charset), QStringConverter::Flag::Stateless);
        if (!d.isValid())
            d = QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
        it = decoders.emplace(charset, std::move(d)).first;
    }
    return it->second;
}

} // namespace

QList<TextPiece> DecodePieces(QByteArrayView bytes, int charset) {
    QList<TextPiece> pieces;
    QStringDecoder& decoder = decoderFor(charset);
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int n = isLeadByte(charset, quint8(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        QString text = decoder.decode(bytes.sliced(i, n));
        if (text.isEmpty())
            text = QChar(QChar::ReplacementCharacter); // a lead byte without its trail
        pieces.append({text, n});
        i += n;
    }
    return pieces;
}

QString DecodeName(QByteArrayView bytes, int charset) {
    const qsizetype end = bytes.indexOf('\0');
    return decoderFor(charset).decode(end < 0 ? bytes : bytes.first(end));
}

} // namespace wmf
