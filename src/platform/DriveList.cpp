#include "platform/DriveList.h"

#include "platform/Volumes.h"

#include <QFileInfo>
#include <QStyle>

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            emit Change();
    });
    setVolumes(MountedVolumeRoots());
    connect(&MountWatcher::instance(), &MountWatcher::changed, this, [this] {
        const QStringList roots = MountedVolumeRoots();
        if (roots == m_roots)
            return;
        setVolumes(roots);
        emit VolumesChanged();
    });
}

void DriveList::setVolumes(const QStringList& roots) {
    const QString current = drive();
    m_filling = true;
    clear();
    m_roots = roots;
    for (const QString& r : roots)
        if (!m_seen.contains(r))
            m_seen.append(r);
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& r : m_roots)
        addItem(icon, r, r);
    const int keep = m_roots.indexOf(current);
    setCurrentIndex(keep >= 0 ? keep : (m_roots.isEmpty() ? -1 : 0));
    m_filling = false;
}

QString DriveList::drive() const {
    return currentData().toString();
}

void DriveList::setDrive(const QString& path) {
    const int index = m_roots.indexOf(VolumeRootOf(path, m_roots));
    if (index >= 0)
        setCurrentIndex(index);
}

void DriveList::showDriveOf(const QString& path) {
    m_filling = true;
    setDrive(path);
    m_filling = false;
}

void DriveList::rememberFolder(const QString& path) {
    m_folders.insert(VolumeRootOf(path, m_roots), path);
}

QString DriveList::currentFolder() const {
    const QString root = drive();
    const QString folder = m_folders.value(root, root);
    return QFileInfo(folder).isDir() ? folder : root;
}
