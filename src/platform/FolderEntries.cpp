#include "platform/FolderEntries.h"

#include "platform/Files.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

NativeListing NativeEntries(const QByteArray& folder) {
    NativeListing out;
    DIR* dir = ::opendir(folder.constData());
    if (!dir) {
        out.status = StatusFromErrno(errno);
        return out;
    }
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            out.names.append(QByteArray(e->d_name));
    }
    ::closedir(dir);
    return out;
}

bool DecodesExactly(const QByteArray& native) {
    return QFile::encodeName(QFile::decodeName(native)) == native;
}

QString ReadableName(const QByteArray& native) {
    QStringList parts;
    for (const QByteArray& part : native.split('/')) {
        if (DecodesExactly(part)) {
            parts.append(QFile::decodeName(part));
            continue;
        }
        // Bytes that only happen to form UTF-8 inside a name that is not are
        // no text either: every byte beyond ASCII is shown as \xNN.
        QString shown;
        for (const char c : part)
            shown += uchar(c) < 0x80
                         ? QString(QLatin1Char(c))
                         : QStringLiteral("\\x%1").arg(QString::number(uchar(c), 16).toUpper(), 2,
                                                       QLatin1Char('0'));
        parts.append(shown);
    }
    return parts.join(QLatin1Char('/'));
}

FolderNames::FolderNames(const QString& folder) : m_folder(folder) {
    for (const QByteArray& native : NativeEntries(QFile::encodeName(folder)).names) {
        if (!DecodesExactly(native))
            continue; // no typed name can be equal to it
        const QString name = QFile::decodeName(native);
        m_byFolded.insert(name.toCaseFolded(), name);
    }
}

namespace {
// The entry exists and passes the mask; a link counts as what it leads to,
// a link that leads nowhere as a file.
bool entryPasses(const QString& path, const QString& name, int mask) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 && ::lstat(native.constData(), &st) != 0)
        return false;
    return PassesMask(S_ISDIR(st.st_mode), name.startsWith(QLatin1Char('.')), mask);
}
} // namespace

bool FolderNames::contains(const QString& name, int mask) const {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return false;
    // The name itself first: a folder that cannot be listed still answers it.
    if (entryPasses(JoinPath(m_folder, name), name, mask))
        return true;
    const auto variants = m_byFolded.equal_range(name.toCaseFolded());
    for (auto it = variants.first; it != variants.second; ++it)
        if (*it != name && entryPasses(JoinPath(m_folder, *it), *it, mask))
            return true;
    return false;
}

bool NameExists(const QString& folder, const QString& name, int mask) {
    return FolderNames(folder).contains(name, mask);
}
