#include "fileops/FolderDelete.h"

#include "app/mdlSt.h"
#include "platform/FolderEntries.h"
#include "platform/Volumes.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
bool lstatOf(const QByteArray& native, struct stat& st) {
    return ::lstat(native.constData(), &st) == 0;
}

bool isFolder(const QByteArray& native) {
    struct stat st {};
    return lstatOf(native, st) && S_ISDIR(st.st_mode);
}

void collect(const QString& folder, DeletionLists& lists) {
    const QByteArray native = QFile::encodeName(folder);
    QStringList subfolders, files;
    for (const QByteArray& name : NativeEntries(native).names) {
        const QByteArray path = native + '/' + name;
        if (!DecodesExactly(name))
            (isFolder(path) ? lists.undecodableFolders : lists.undecodableFiles).append(path);
        else if (isFolder(path))
            subfolders.append(JoinPath(folder, QFile::decodeName(name)));
        else
            files.append(JoinPath(folder, QFile::decodeName(name)));
    }
    for (const QString& sub : subfolders)
        collect(sub, lists);
    lists.files.append(files);
    lists.folders.append(folder);
}

bool holdsAny(const QString& folder, const QStringList& paths) {
    const QString prefix = WithTrailingSlash(folder);
    for (const QString& p : paths)
        if (p.startsWith(prefix))
            return true;
    return false;
}
} // namespace

DeletionLists DelListMake(const QString& target) {
    DeletionLists lists;
    if (!isFolder(QFile::encodeName(target))) {
        // A link to a folder is removed as a link; what it points to stays.
        lists.files.append(target);
        return lists;
    }
    collect(target, lists);
    return lists;
}

Leftovers DeleteLists(const DeletionLists& lists) {
    Leftovers left;
    for (const QByteArray& path : lists.undecodableFiles)
        left.files.append(ReadableName(path));
    for (const QByteArray& path : lists.undecodableFolders)
        left.folders.append(ReadableName(path));
    for (const QString& file : lists.files) {
        const QByteArray native = QFile::encodeName(file);
        struct stat st {};
        if (lstatOf(native, st) && S_ISREG(st.st_mode))
            ::chmod(native.constData(), (st.st_mode & 07777) | S_IWUSR);
        if (::unlink(native.constData()) != 0)
            left.files.append(file);
    }
    for (const QString& folder : lists.folders) {
        // A folder that still holds what could not go stays, silently: what
        // it holds is reported.
        if (::rmdir(QFile::encodeName(folder).constData()) != 0 && !holdsAny(folder, left.files) &&
            !holdsAny(folder, left.folders))
            left.folders.append(folder);
    }
    return left;
}

bool TreeShownInWindow(const QString& target) {
    const int last = std::min<int>(mdlSt::intWinMax, int(mdlSt::strWinPath.size()) - 1);
    for (int slot = 0; slot <= last; ++slot) {
        const QString& shown = mdlSt::strWinPath[slot];
        if (!shown.isEmpty() && IsSameOrBelow(shown, target))
            return true;
    }
    return false;
}

QString FolderDeletionReport(const Leftovers& left) {
    constexpr int Shown = 20;
    QString text;
    qsizetype listed = 0, more = 0;
    const auto section = [&](const QString& heading, const QStringList& paths) {
        const QStringList shown = paths.mid(0, std::max<qsizetype>(Shown - listed, 0));
        more += paths.size() - shown.size();
        if (shown.isEmpty())
            return;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += heading + QLatin1Char('\n') + shown.join(QLatin1Char('\n'));
        listed += shown.size();
    };
    section(QStringLiteral("次のファイルを削除できませんでした。"), left.files);
    section(QStringLiteral("次のフォルダーを削除できませんでした。"), left.folders);
    if (more > 0)
        text += QStringLiteral("\nほか %1 件").arg(more);
    return text;
}
