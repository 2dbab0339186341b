#include "app/SettingsFile.h"

#include <QLocale>
#include <QStringDecoder>
#include <cmath>

namespace {
QByteArray quoted(const QString& s) {
    return '"' + s.toUtf8() + '"';
}

// Reads the fields of the file one by one, as sequential input does.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }

    // The next field; ok is false for an unterminated quote.
    QByteArray next(bool& quotedField, bool& ok) {
        ok = true;
        quotedField = false;
        while (m_pos < m_data.size() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t'))
            ++m_pos;
        QByteArray field;
        if (m_pos < m_data.size() && m_data[m_pos] == '"') {
            quotedField = true;
            const qsizetype close = m_data.indexOf('"', m_pos + 1);
            if (close < 0) {
                ok = false;
                field = m_data.mid(m_pos + 1);
                m_pos = m_data.size();
                return field;
            }
            field = m_data.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            while (m_pos < m_data.size() && !isDelimiter(m_data[m_pos]))
                ++m_pos;
        } else {
            const qsizetype start = m_pos;
            while (m_pos < m_data.size() && !isDelimiter(m_data[m_pos]))
                ++m_pos;
            field = m_data.mid(start, m_pos - start).trimmed();
        }
        skipDelimiter();
        return field;
    }

private:
    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }
    void skipDelimiter() {
        if (m_pos >= m_data.size())
            return;
        if (m_data[m_pos] == ',') {
            ++m_pos;
            return;
        }
        if (m_data[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_data.size() && m_data[m_pos] == '\n')
            ++m_pos;
    }

    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

bool decodeUtf8(const QByteArray& bytes, QString& out) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = decoder(bytes);
    if (decoder.hasError())
        return false;
    out = s;
    return true;
}

bool readString(FieldReader& reader, QString& target) {
    bool isQuoted = false, ok = false;
    const QByteArray field = reader.next(isQuoted, ok);
    QString s;
    if (!ok || !decodeUtf8(field, s))
        return false;
    target = s;
    return true;
}

bool readNumber(FieldReader& reader, float& target) {
    bool isQuoted = false, ok = false;
    const QByteArray field = reader.next(isQuoted, ok);
    if (!ok || isQuoted || field.isEmpty())
        return false;
    bool converted = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(field), &converted);
    if (!converted || !std::isfinite(v) || std::fabs(v) > 3.4e38)
        return false;
    target = float(v);
    return true;
}
} // namespace

QString FormatSingle(float value) {
    if (value == std::trunc(value) && std::fabs(value) < 1e7f)
        return QString::number(qint64(value));
    return QString::number(double(value), 'g', 7).toUpper();
}

QByteArray FormatSettings(const Settings& s) {
    QByteArray out;
    out += quoted(s.currentPath) + "\r\n";
    for (float v : s.numbers)
        out += FormatSingle(v).toLatin1() + "\r\n";
    for (const QString& h : s.history)
        out += quoted(h) + "\r\n";
    return out;
}

ParsedSettings ParseSettings(const QByteArray& data, const Settings& defaults) {
    ParsedSettings result{defaults, true};
    FieldReader reader(data);
    auto fail = [&result] { result.complete = false; };

    if (reader.atEnd() || !readString(reader, result.values.currentPath))
        fail();
    for (float& slot : result.values.numbers) {
        if (reader.atEnd()) {
            fail();
            break;
        }
        if (!readNumber(reader, slot))
            fail();
    }
    if (reader.atEnd())
        return result; // a file of 42 lines: no history block
    for (QString& entry : result.values.history) {
        if (reader.atEnd()) {
            fail();
            break;
        }
        if (!readString(reader, entry))
            fail();
    }
    return result;
}
