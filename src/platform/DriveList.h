#pragma once

#include <QComboBox>
#include <QHash>
#include <QStringList>

// The drive list: a combo box of the mounted volumes, following the mount table
// while the program runs. Its value is the root of the selected volume; "the
// drive of a path" is the volume that holds it.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The volume roots offered; the current drive is kept when it is among
    // them, else the first volume is selected without raising Change.
    void setVolumes(const QStringList& roots);
    QStringList volumes() const { return m_roots; }
    // Every volume offered during this run, mounted or not any more.
    QStringList seenVolumes() const { return m_seen; }

    QString drive() const;
    // Selects the volume that holds the path; raises Change when it differs.
    void setDrive(const QString& path);
    // The same without raising Change: the list only shows where a folder
    // list already is.
    void showDriveOf(const QString& path);

    // Each drive keeps the folder last opened on it, as its current folder.
    void rememberFolder(const QString& path);
    // The current folder of the selected drive: the one last opened on it
    // while it still exists, else the drive's root.
    QString currentFolder() const;

signals:
    void Change();
    // A volume was mounted or unmounted; the list offers the new set.
    void VolumesChanged();

private:
    QStringList m_roots;
    QStringList m_seen;
    QHash<QString, QString> m_folders;
    bool m_filling = false;
};
