#pragma once

#include "platform/Status.h"

#include <QByteArray>
#include <QList>
#include <QMultiHash>
#include <QString>

// The entries of a folder as the file system holds them. A name on disk is a
// string of bytes; only a name that decodes to text and encodes back to the
// very same bytes can be named by a path string without reaching another file.

struct NativeListing {
    FsStatus status = FsStatus::Ok;
    QList<QByteArray> names; // in the order the file system returns them
};

// The names of every entry of a folder, hidden ones too ("." and ".." left
// out), as bytes.
NativeListing NativeEntries(const QByteArray& folder);

// The bytes decode to text that encodes back to exactly these bytes.
bool DecodesExactly(const QByteArray& native);

// A path or name for people to read: each part between "/" that decodes
// exactly as text, in any other part every byte beyond ASCII as \xNN (as a
// shell reads it back in $'...').
QString ReadableName(const QByteArray& native);

// The names of a folder, read once, for existence tests that ignore case, as
// the file systems that compare names without regard to case answer them.
class FolderNames {
public:
    explicit FolderNames(const QString& folder);
    // The folder holds an entry whose name equals `name` ignoring case and
    // that passes the attribute mask (see PassesMask).
    bool contains(const QString& name, int mask) const;

private:
    QString m_folder;
    QMultiHash<QString, QString> m_byFolded; // case-folded name -> names on disk
};

// The existence test of a name in a folder: FolderNames(folder).contains.
bool NameExists(const QString& folder, const QString& name, int mask);
