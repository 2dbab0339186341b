#include "platform/ShowModal.h"

#include <QDialog>
#include <QtDebug>

namespace {
ShowModalHandler& handler() {
    static ShowModalHandler h;
    return h;
}
} // namespace

void SetShowModalHandler(ShowModalHandler h) {
    handler() = std::move(h);
}

int ShowModal(QDialog& dialog) {
    if (!handler())
        return dialog.exec();

    dialog.setModal(true);
    dialog.show();
    handler()(dialog);
    if (dialog.isVisible()) {
        qWarning("ShowModal: the test handler left the dialog open; closing it");
        dialog.close();
    }
    return dialog.result();
}
