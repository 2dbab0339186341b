#pragma once

#include "platform/Status.h"

#include <QListWidget>
#include <QStringList>

// The folder list in the old style: the chain of folders from the volume root
// down to the open folder, each indented one step further, then the open
// folder's subfolders one step deeper, sorted by name. A single click selects a
// row; a double click or Enter opens it. Path is always the open folder.
class DirList : public QListWidget {
    Q_OBJECT
public:
    explicit DirList(QWidget* parent = nullptr);

    void setVolumeRoots(const QStringList& roots) { m_roots = roots; }
    QStringList volumeRoots() const { return m_roots; }

    QString Path() const { return m_path; }
    // Opens a folder; raises Change when the open folder changes. A folder
    // that cannot be opened leaves the list as it was.
    FsStatus setPath(const QString& path);
    // Reads the subfolders of the open folder again.
    void Refresh();

    // The folder of a row (for tests and drop targets).
    QString rowPath(int row) const;

signals:
    void Change();
    // A folder the user tried to open could not be read.
    void openFailed(const QString& path, FsStatus status);

protected:
    // Enter opens the highlighted folder and goes no further: in a dialog it
    // does not also press the default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();

    QString m_path;
    QStringList m_roots;
};

// Checks that a path names a folder that can be listed.
FsStatus CheckFolder(const QString& path, const QStringList& volumeRoots);
