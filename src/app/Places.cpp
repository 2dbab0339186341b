#include "app/Places.h"

#include <QDir>

bool IsInstalled(const ProgramPlace& place) {
    const QString folder = QDir::cleanPath(place.folder);
    return place.dataBeside || !place.userMayWrite || folder == QLatin1String("/usr/bin") ||
           folder == QLatin1String("/usr/local/bin");
}

QString ConfigHome(const QString& xdgConfigHome, const QString& home) {
    if (QDir::isAbsolutePath(xdgConfigHome))
        return QDir::cleanPath(xdgConfigHome);
    return QDir::cleanPath(home + QStringLiteral("/.config"));
}

QString SettingsFolder(const ProgramPlace& place, const QString& configHome) {
    if (!IsInstalled(place))
        return QDir::cleanPath(place.folder);
    return configHome + QStringLiteral("/piksor");
}

QString PicturesFolder(const QByteArray& userDirs, const QString& home) {
    const QByteArray key = "XDG_PICTURES_DIR=\"";
    QString found;
    for (const QByteArray& raw : userDirs.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype end = line.indexOf('"', key.size());
        if (!line.startsWith(key) || end < 0)
            continue;
        const QString value = QString::fromUtf8(line.mid(key.size(), end - key.size()));
        // The last line that names it counts, as when the shell reads the file.
        if (value == QLatin1String("$HOME") || value.startsWith(QLatin1String("$HOME/")))
            found = QDir::cleanPath(home + value.mid(5));
        else if (QDir::isAbsolutePath(value))
            found = QDir::cleanPath(value);
    }
    return found;
}
