#pragma once

#include <QComboBox>
#include <QHash>
#include <QStringList>

// The drive list: a combo box of the mounted volumes. Its value is the root of
// the selected volume; "the drive of a path" is the volume that holds it.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The volume roots offered; the current drive is kept when it is among them.
    void setVolumes(const QStringList& roots);
    QStringList volumes() const { return m_roots; }

    QString drive() const;
    // Selects the volume that holds the path; raises Change when it differs.
    void setDrive(const QString& path);

    // Each drive keeps the folder last opened on it, as its current folder.
    void rememberFolder(const QString& path);
    // The current folder of the selected drive: the one last opened on it
    // while it still exists, else the drive's root.
    QString currentFolder() const;

signals:
    void Change();

private:
    QStringList m_roots;
    QHash<QString, QString> m_folders;
    bool m_filling = false;
};
