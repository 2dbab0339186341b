#include "fileops/FolderDelete.h"

#include "platform/Volumes.h"

#include <QDirIterator>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
bool lstatOf(const QString& path, struct stat& st) {
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Every entry of a folder, hidden ones too, without following links.
QStringList entriesOf(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    return names;
}

void collect(const QString& folder, DeletionLists& lists) {
    const QStringList names = entriesOf(folder);
    QStringList subfolders, files;
    for (const QString& name : names) {
        const QString path = JoinPath(folder, name);
        struct stat st {};
        if (lstatOf(path, st) && S_ISDIR(st.st_mode))
            subfolders.append(path);
        else
            files.append(path);
    }
    for (const QString& sub : subfolders)
        collect(sub, lists);
    lists.files.append(files);
    lists.folders.append(folder);
}
} // namespace

QStringList SubFolderGet(const QString& folder) {
    QStringList out;
    for (const QString& name : entriesOf(folder)) {
        const QString path = JoinPath(folder, name);
        struct stat st {};
        if (lstatOf(path, st) && S_ISDIR(st.st_mode))
            out.append(path);
    }
    return out;
}

DeletionLists DelListMake(const QString& target) {
    DeletionLists lists;
    struct stat st {};
    if (lstatOf(target, st) && !S_ISDIR(st.st_mode)) {
        // A link to a folder is removed as a link; what it points to stays.
        lists.files.append(target);
        return lists;
    }
    collect(target, lists);
    return lists;
}

QStringList DeleteLists(const DeletionLists& lists) {
    QStringList failed;
    for (const QString& file : lists.files) {
        const QByteArray native = QFile::encodeName(file);
        struct stat st {};
        if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode))
            ::chmod(native.constData(), (st.st_mode & 07777) | S_IWUSR);
        if (::unlink(native.constData()) != 0)
            failed.append(file);
    }
    for (const QString& folder : lists.folders) {
        // A folder that still holds a file that could not go stays, silently:
        // the file itself is reported.
        if (::rmdir(QFile::encodeName(folder).constData()) != 0) {
            bool holdsFailed = false;
            for (const QString& f : failed)
                holdsFailed = holdsFailed || f.startsWith(WithTrailingSlash(folder));
            if (!holdsFailed)
                failed.append(folder);
        }
    }
    return failed;
}
