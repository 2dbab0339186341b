#pragma once

#include <QObject>

class frmMain;

// Makes a widget a drop target for the thumbnails dragged out of this
// program's own thumbnail windows: their drags are taken as copies, anything
// else (files from other programs, text) is refused, and so is every drag
// while a file operation runs. A drop calls the handler once the drag has
// ended, so that its questions are not asked inside the drag.
class ThumbnailDrop : public QObject {
    Q_OBJECT
public:
    using Handler = void (frmMain::*)();
    // Watches `events` (the widget that receives the drag events) for `main`.
    ThumbnailDrop(QWidget* events, frmMain& main, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmMain& m_main;
    Handler m_handler;
};
