// The geometry of a thumbnail window: the client area divided between the
// viewport, the scroll bar and the path box, the grid of thumbnails on the
// canvas, and scrolling.
#include "thumbs/frmPreview.h"

#include "app/mdlSt.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/ThumbWidgets.h"

#include <QLineEdit>
#include <QScrollBar>

void frmPreview::Form_Resize() {
    const PreviewLayout g =
        LayoutClient(client->size(), vscScroll->sizeHint().width(), txtPath->sizeHint().height());
    picPreview->setGeometry(g.viewport);
    // picPreview_Resize: the canvas is always as wide as the viewport.
    setCanvasSize(picPreview->width(), canvasHeight(picPre->height()));
    vscScroll->setGeometry(g.scrollBar);
    txtPath->setGeometry(g.pathBox);
    if (intFileCount > 0)
        fitCanvasToGrid();
    // A taller or lower viewport changes how far the grid can scroll.
    updateScrollRange();
}

void frmPreview::setCanvasSize(int width, int height) {
    if (picPre->size() == QSize(width, height))
        return;
    picPre->resize(width, height);
    // picPre_Resize: every change of the canvas lays the thumbnails out again.
    PicPosiChange();
}

int frmPreview::canvasHeight(int wanted) const {
    return m_listing ? std::max(wanted, picPreview->height()) : wanted;
}

void frmPreview::fitCanvasToGrid() {
    // The canvas ends 17 pixels below the label of the last shown entry, so
    // the grid scrolls to its end even when the last picture failed.
    for (int k = intFileCount - 1; k >= 0; --k) {
        if (k >= lblName.size() || lblName[k]->text().isEmpty())
            continue;
        setCanvasSize(picPreview->width(), canvasHeight(CanvasHeight(intPicHeight, picPre1[k]->y(),
                                                                     lblName[k]->height())));
        return;
    }
}

void frmPreview::PlaceThumb(int k, int n, bool blnVisible) {
    if (k < 0 || k >= picPre1.size())
        return;
    setCanvasSize(picPreview->width(), picPre->height());
    const int columns = GridColumns(picPre->width(), intPicWidth);
    ThumbLabel* label = lblName[k];
    const QPoint at = CellPosition(n, columns, QSize(intPicWidth, intPicHeight), label->height());
    ThumbBox* box = picPre1[k];
    box->move(at);
    box->setVisible(blnVisible);
    label->setGeometry(at.x(), at.y() + intPicHeight, intPicWidth, label->height());
    label->setVisible(blnVisible);
}

void frmPreview::PicPosiChange() {
    if (m_inLayout)
        return;
    m_inLayout = true;
    mdlSt::PanelEnabled(false);
    int n = 0;
    for (int k = 0; k < intFileCount && k < picPre1.size(); ++k) {
        if (lblName[k]->text().isEmpty()) {
            picPre1[k]->hide();
            lblName[k]->hide();
        } else {
            PlaceThumb(k, n, true);
            ++n;
        }
    }
    updateScrollRange();
    // The current entry may have moved, or been hidden and handed on.
    placeFocusFrame();
    // A listing keeps the panel disabled until it ends.
    if (s_listings == 0)
        mdlSt::PanelEnabled(true);
    m_inLayout = false;
}

void frmPreview::updateScrollRange() {
    const int viewport = picPreview->height();
    vscScroll->setRange(0, ScrollMaximum(picPre->height(), viewport));
    vscScroll->setPageStep(std::max(1, viewport));
    const int cell = intPicHeight + GridMargin + LabelHeight;
    vscScroll->setSingleStep(std::max(1, std::min(cell, viewport) / 4));
}

void frmPreview::vscScroll_Change(int value) {
    picPre->move(0, -value);
}
