#include "app/PathRules.h"

QString GetLastPart(const QString& text, QChar separator) {
    const qsizetype at = text.lastIndexOf(separator);
    if (at < 0 || at == text.size() - 1)
        return QString();
    return text.mid(at + 1).toUpper();
}

QString CountLine(const QString& path, int count) {
    return path + QStringLiteral(" ﾌｧｲﾙ数") + QLatin1Char(' ') + QString::number(count);
}
