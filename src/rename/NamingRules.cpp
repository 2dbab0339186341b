#include "rename/NamingRules.h"

#include "app/PathRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

QString LowerExtension(const QString& name) {
    return GetLastPart(name, QLatin1Char('.')).toLower();
}

QString WithoutExtension(const QString& name) {
    const QString extension = GetLastPart(name, QLatin1Char('.'));
    qsizetype keep = name.size() - extension.size();
    if (!extension.isEmpty())
        --keep;
    return name.left(keep);
}

QString LockExtension(const QString& text, const QString& extension) {
    return WithoutExtension(text) + QLatin1Char('.') + extension;
}

std::optional<QString> FirstFreeNumberedName(const QString& incomingName, const QString& extension,
                                             const std::function<bool(const QString&)>& taken) {
    const QString base = WithoutExtension(incomingName);
    for (int n = 2; n <= HighestFreeNumber; ++n) {
        const QString candidate =
            base + QLatin1Char(' ') + QString::number(n) + QLatin1Char('.') + extension;
        if (!taken(candidate))
            return candidate;
    }
    return std::nullopt;
}

namespace {
bool holdsRefusedCharacter(const QString& text) {
#ifdef Q_OS_WIN
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
#else
    static const QString refused = QStringLiteral("/");
#endif
    for (const QChar c : text)
        if (c.unicode() == 0 || refused.contains(c))
            return true;
    return false;
}

const QString RefusedCharacterMessage =
#ifdef Q_OS_WIN
    QStringLiteral("ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。");
#else
    QStringLiteral("ファイル名に使えない文字（/ など）が含まれています。");
#endif
} // namespace

bool IsBlankName(const QString& name) {
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); });
}

QString NameProblem(const QString& name) {
    if (holdsRefusedCharacter(name))
        return RefusedCharacterMessage;
    if (IsBlankName(WithoutExtension(name)))
        return QStringLiteral("ファイル名（拡張子より前の部分）が入力されていません。");
    return QString();
}

QString LeadingTextProblem(const QString& text) {
    return holdsRefusedCharacter(text) ? RefusedCharacterMessage : QString();
}

namespace {
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

double LeadingNumber(const QString& text) {
    // The blanks go first, wherever they stand, then the longest prefix of the
    // form [sign] digits [. digits] [exponent [sign] digits] is read.
    QString s;
    for (const QChar c : text)
        if (!isBlank(c))
            s.append(c);

    qsizetype i = 0;
    QString number;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        number.append(s[i++]);
    bool digits = false;
    while (i < s.size() && isDigit(s[i])) {
        number.append(s[i++]);
        digits = true;
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        number.append(s[i++]);
        while (i < s.size() && isDigit(s[i])) {
            number.append(s[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && QStringLiteral("eEdD").contains(s[i])) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent.append(s[j++]);
        const qsizetype firstDigit = j;
        while (j < s.size() && isDigit(s[j]))
            exponent.append(s[j++]);
        if (j > firstDigit)
            number.append(exponent);
    }
    const QByteArray latin = number.toLatin1();
    const char* first = latin.constData();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0.0;
    const auto read = std::from_chars(first, latin.constData() + latin.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // Too small a magnitude (a negative exponent) is zero, too large infinity.
        if (latin.contains("e-"))
            return 0.0;
        return latin.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

double RoundHalfEven(double value) {
    const double down = std::floor(value);
    const double rest = value - down;
    if (rest > 0.5)
        return down + 1;
    if (rest < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1;
}

std::optional<int> ReadInteger(const QString& text, int lowest, int highest) {
    const double value = LeadingNumber(text);
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = RoundHalfEven(value);
    if (rounded < lowest || rounded > highest)
        return std::nullopt;
    return int(rounded);
}

QString PaddedNumber(qint64 value, int digits) {
    const QString magnitude = QString::number(value < 0 ? -value : value);
    const QString padded = magnitude.rightJustified(digits, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + padded : padded;
}

QString BatchName(const QString& leadingText, int start, int step, int digits, int k,
                  const QString& fileName) {
    const qint64 number = qint64(start) + qint64(step) * qint64(k);
    return leadingText + PaddedNumber(number, digits) + QLatin1Char('.') +
           GetLastPart(fileName, QLatin1Char('.'));
}
