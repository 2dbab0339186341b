#include "fileops/ThumbnailDrop.h"

#include "app/frmMain.h"
#include "thumbs/ThumbDrag.h"

#include <QDropEvent>
#include <QMetaObject>
#include <QWidget>

ThumbnailDrop::ThumbnailDrop(QWidget* events, frmMain& main, Handler handler)
    : QObject(events), m_main(main), m_handler(handler) {
    events->setAcceptDrops(true);
    events->installEventFilter(this);
}

bool ThumbnailDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (m_main.isOperating() || ThumbDragSource(drop->mimeData()) < 0) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop) {
            frmMain* main = &m_main;
            const Handler handler = m_handler;
            QMetaObject::invokeMethod(
                main, [main, handler] { (main->*handler)(); }, Qt::QueuedConnection);
        }
        return true;
    }
    case QEvent::DragLeave:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
