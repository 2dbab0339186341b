// The keyboard in a thumbnail window: the current entry with its focus frame,
// moving it with the arrow and paging keys, and the keys that select, open,
// delete, rename and show the popup menu through the mouse's own routines.
#include "thumbs/frmPreview.h"

#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "thumbs/ThumbMoves.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/ThumbWidgets.h"

#include <QAction>
#include <QKeyEvent>
#include <QScrollBar>

QList<int> frmPreview::shownEntries() const {
    QList<int> shown;
    for (int i = 0; i < intFileCount && i < lblName.size(); ++i)
        if (!lblName[i]->text().isEmpty())
            shown.append(i);
    return shown;
}

int frmPreview::CurrentEntry() const {
    const QList<int> shown = shownEntries();
    const int cell = CurrentCell(shown, m_current);
    return cell < 0 ? -1 : shown[cell];
}

void frmPreview::setCurrent(int k) {
    m_current = k;
    placeFocusFrame();
}

QRect frmPreview::entryRect(int k) const {
    return QRect(picPre1[k]->pos(), QSize(intPicWidth, intPicHeight + lblName[k]->height()));
}

void frmPreview::placeFocusFrame() {
    const int k = CurrentEntry();
    const bool shown = k >= 0 && picPreview->hasFocus();
    if (shown) {
        const int m = ThumbFocusFrame::Margin;
        focusFrame->setGeometry(entryRect(k).adjusted(-m, -m, m, m));
        focusFrame->raise();
    }
    focusFrame->setVisible(shown);
}

void frmPreview::scrollToCurrent() {
    const int k = CurrentEntry();
    if (k < 0)
        return;
    // The entry with the gap above it and the space the canvas keeps below
    // its last entry: the first and the last row scroll to the canvas's ends.
    const int top = picPre1[k]->y();
    vscScroll->setValue(ScrollToShow(vscScroll->value(), picPreview->height(), top - GridMargin,
                                     CanvasHeight(intPicHeight, top, lblName[k]->height()),
                                     vscScroll->maximum()));
}

void frmPreview::moveCurrent(int target, Qt::KeyboardModifiers mods) {
    setCurrent(target);
    scrollToCurrent();
    // Ctrl moves the current entry alone. Without a modifier the entry lands
    // selected alone, whatever it was: the plain click's rule, applied to an
    // entry that was not selected. Shift applies the Shift click's rule.
    if (mods & Qt::ControlModifier)
        return;
    if (mods & Qt::ShiftModifier) {
        selectByClick(target, ShiftShift);
        return;
    }
    blnSelected[target] = false;
    selectByClick(target, ShiftNone);
}

bool frmPreview::viewportKeyPress(QKeyEvent* event) {
    frmMain* f = frmMain::instance();
    // Nothing while the window lists or takes an added picture, nor while a
    // file operation runs: its dialogs and the pictures it adds to windows let
    // events through, and a key must not change the selection it works on.
    if (!f || isLoading() || f->isOperating())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    const int k = CurrentEntry();
    if (k < 0)
        return false;
    if (const std::optional<KeyMove> move = KeyMoveOf(event->key())) {
        const QList<int> shown = shownEntries();
        const int columns = GridColumns(picPre->width(), intPicWidth);
        const int cellHeight = intPicHeight + GridMargin + lblName[k]->height();
        const int cell = MoveCell(int(shown.indexOf(k)), int(shown.size()), *move, columns,
                                  RowsInView(picPreview->height(), cellHeight));
        moveCurrent(shown[cell], mods);
        return true;
    }
    // The Edit menu's own items, as their shortcuts would trigger them.
    const auto menuItem = [](QAction* item) {
        if (item->isEnabled())
            item->trigger();
        return true;
    };
    const bool plain = mods == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        if (mods & Qt::ShiftModifier)
            return false;
        selectByClick(k, ShiftCtrl);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain)
            return false;
        picPre1_DblClick(k);
        return true;
    case Qt::Key_Delete:
        return plain && menuItem(f->mnuMove[size_t(mdlSt::OpDelete)]);
    case Qt::Key_F2:
        return plain && menuItem(f->mnuMove[size_t(mdlSt::OpRenameOne)]);
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (event->key() == Qt::Key_Menu ? !plain : mods != Qt::ShiftModifier)
            return false;
        scrollToCurrent();
        popupIfSelected(picPre->mapToGlobal(entryRect(k).center()));
        return true;
    default:
        return false;
    }
}
