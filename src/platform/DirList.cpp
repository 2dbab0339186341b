#include "platform/DirList.h"

#include "platform/Files.h"
#include "platform/NameOrder.h"
#include "platform/Volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;
constexpr int IndentStep = 10;

class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        o.rect.setLeft(o.rect.left() + IndentStep * index.data(DepthRole).toInt());
        QStyledItemDelegate::paint(painter, o, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.rwidth() += IndentStep * index.data(DepthRole).toInt();
        return s;
    }
};
} // namespace

FsStatus CheckFolder(const QString& path, const QStringList& volumeRoots) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int err = errno;
        const QString root = VolumeRootOf(path, volumeRoots);
        if (path == root || !QFileInfo::exists(root))
            return FsStatus::NotReady;
        return StatusFromErrno(err);
    }
    if (!S_ISDIR(st.st_mode))
        return FsStatus::NotFound;
    if (::access(native.constData(), R_OK | X_OK) != 0)
        return StatusFromErrno(errno);
    return FsStatus::Ok;
}

DirList::DirList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_roots = MountedVolumeRoots();
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString target = item->data(PathRole).toString();
        const FsStatus st = setPath(target);
        if (st != FsStatus::Ok)
            emit openFailed(target, st);
    });
}

void DirList::keyPressEvent(QKeyEvent* event) {
    QListWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}

QString DirList::rowPath(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(PathRole).toString() : QString();
}

FsStatus DirList::setPath(const QString& path) {
    const QString clean = CleanFolderPath(path);
    const FsStatus st = CheckFolder(clean, m_roots);
    if (st != FsStatus::Ok)
        return st;
    if (clean == m_path)
        return FsStatus::Ok;
    m_path = clean;
    rebuild();
    emit Change();
    return FsStatus::Ok;
}

void DirList::Refresh() {
    if (!m_path.isEmpty() && CheckFolder(m_path, m_roots) != FsStatus::Ok) {
        // The open folder vanished: fall back to the nearest existing ancestor.
        QString p = m_path;
        while (p != QLatin1String("/") && CheckFolder(p, m_roots) != FsStatus::Ok)
            p = CleanFolderPath(QFileInfo(p).path());
        m_path = p;
        rebuild();
        emit Change();
        return;
    }
    rebuild();
}

void DirList::rebuild() {
    clear();
    if (m_path.isEmpty())
        return;
    const QString root = VolumeRootOf(m_path, m_roots);
    QStringList chain{root};
    if (m_path != root) {
        const QString rest = m_path.mid(root == QLatin1String("/") ? 1 : root.size() + 1);
        QString p = root;
        for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            p = JoinPath(p, part);
            chain.append(p);
        }
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString& p = chain[depth];
        auto* it = new QListWidgetItem(open, depth == 0 ? p : QFileInfo(p).fileName(), this);
        it->setData(PathRole, p);
        it->setData(DepthRole, depth);
    }
    setCurrentRow(count() - 1);
    QStringList subs = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    SortNames(subs);
    for (const QString& name : subs) {
        auto* it = new QListWidgetItem(closed, name, this);
        it->setData(PathRole, JoinPath(m_path, name));
        it->setData(DepthRole, chain.size());
    }
}
