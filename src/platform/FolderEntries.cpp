#include "platform/FolderEntries.h"

#include "platform/Files.h"
#include "platform/Volumes.h"

#include <QFile>

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

namespace {
// The length of the UTF-8 sequence a byte leads, 0 when it leads none.
qsizetype sequenceLength(uchar lead) {
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2)
        return 0;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return lead < 0xF5 ? 4 : 0;
}
} // namespace

QString ReadableName(const QByteArray& native) {
    QString out;
    for (qsizetype i = 0; i < native.size();) {
        const auto lead = uchar(native[i]);
        const qsizetype length = sequenceLength(lead);
        const QByteArray sequence = native.mid(i, length);
        // A sequence is shown as text only when it decodes to exactly itself.
        if (length > 0 && sequence.size() == length &&
            QString::fromUtf8(sequence).toUtf8() == sequence) {
            out += QString::fromUtf8(sequence);
            i += length;
        } else {
            out += QStringLiteral("\\x%1").arg(QString::number(lead, 16).toUpper(), 2,
                                               QLatin1Char('0'));
            ++i;
        }
    }
    return out;
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
