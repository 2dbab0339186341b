// Selection with the mouse, the shown state of each entry, the shared
// selection lists, the popup menu, the double click and dragging out.
#include "thumbs/frmPreview.h"

#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/Files.h"
#include "thumbs/ThumbDrag.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/ThumbWidgets.h"

#include <QCursor>
#include <QDrag>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

bool frmPreview::counts(int i) const {
    return blnSelected.value(i) && i < lblName.size() && !lblName[i]->text().isEmpty() &&
           DirExists(strFiles[i], mdlSt::AttributeMask());
}

void frmPreview::applyShownState(int i) {
    if (i < lblName.size())
        lblName[i]->setSelectedLook(blnSelected.value(i));
}

int frmPreview::gatherSelection() {
    using namespace mdlSt;
    strSelectFiles.clear();
    intSelectIndex.clear();
    intActiveWin = WinSearch(txtPath->text());
    for (int i = 0; i < intFileCount; ++i) {
        if (!counts(i))
            continue;
        strSelectFiles.append(strFiles[i]);
        intSelectIndex.append(i);
    }
    return int(strSelectFiles.size());
}

void frmPreview::picPre1_MouseDown(int Index, Qt::MouseButton Button, int Shift) {
    if (Index >= intFileCount)
        return;
    // A press of either button on a box makes its entry the current one.
    if (Button == Qt::LeftButton || Button == Qt::RightButton)
        setCurrent(Index);
    if (Button == Qt::RightButton) {
        popupIfSelected(QCursor::pos());
        return;
    }
    if (Button == Qt::LeftButton)
        selectByClick(Index, Shift);
}

void frmPreview::selectByClick(int k, int Shift) {
    using namespace mdlSt;
    strSelectFiles.clear();
    intSelectIndex.clear();
    ApplyClick(blnSelected, k, Shift);
    intActiveWin = WinSearch(txtPath->text());
    for (int i = 0; i < intFileCount; ++i) {
        applyShownState(i);
        if (counts(i)) {
            strSelectFiles.append(strFiles[i]);
            intSelectIndex.append(i);
        }
    }
    CommandEnabled(int(strSelectFiles.size()));
}

void frmPreview::picPre1_DblClick(int Index) {
    if (Index < intFileCount)
        if (frmMain* f = frmMain::instance())
            f->ImageOpened(strFiles[Index]);
}

void frmPreview::lblName_MouseDown(int Index, Qt::MouseButton Button) {
    if (Index >= intFileCount)
        return;
    // A selected label is in automatic drag mode: the left button starts the
    // drag at once, and the label raises no mouse events of its own.
    if (lblName[Index]->selectedLook()) {
        if (Button == Qt::LeftButton)
            startDrag(Index);
        return;
    }
    if (Button == Qt::RightButton)
        popupIfSelected(QCursor::pos());
}

void frmPreview::popupIfSelected(QPoint globalPos) {
    if (gatherSelection() == 0)
        return;
    if (frmMain* f = frmMain::instance())
        f->mnuPop->popup(globalPos);
}

QMimeData* frmPreview::DragData() const {
    auto* data = new QMimeData;
    // Our own drop targets read the payload; other programs get the files.
    data->setData(QString::fromLatin1(ThumbnailMimeType), ThumbDragPayload(slot()));
    QList<QUrl> urls;
    for (const QString& path : mdlSt::strSelectFiles)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

void frmPreview::startDrag(int Index) {
    // The drag carries the selection of the window it comes from, whatever
    // labels of other windows it passes over.
    gatherSelection();
    ThumbLabel* label = lblName[Index];
    QPixmap outline(label->size());
    outline.fill(Qt::transparent);
    {
        QPainter p(&outline);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(outline.rect().adjusted(0, 0, -1, -1));
    }
    auto* drag = new QDrag(label);
    drag->setMimeData(DragData());
    drag->setPixmap(outline);
    drag->setHotSpot(label->mapFromGlobal(QCursor::pos()));
    drag->exec(Qt::CopyAction);
}

void frmPreview::SelectFileClear() {
    for (int i = 0; i < intFileCount && i < blnSelected.size(); ++i) {
        blnSelected[i] = false;
        applyShownState(i);
    }
    mdlSt::intActiveWin = -1;
    mdlSt::strSelectFiles.clear();
    mdlSt::intSelectIndex.clear();
    mdlSt::CommandEnabled(0);
}

void frmPreview::AllSelectFiles() {
    QStringList files;
    QList<int> indexes;
    for (int i = 0; i < intFileCount && i < blnSelected.size(); ++i) {
        if (lblName[i]->text().isEmpty() || !DirExists(strFiles[i], mdlSt::AttributeMask()))
            continue;
        blnSelected[i] = true;
        files.append(strFiles[i]);
        indexes.append(i);
        applyShownState(i);
    }
    // With nothing to select the lists stay as they were.
    if (!files.isEmpty()) {
        mdlSt::strSelectFiles = files;
        mdlSt::intSelectIndex = indexes;
    }
    mdlSt::CommandEnabled(int(files.size()));
    mdlSt::intActiveWin = mdlSt::WinSearch(txtPath->text());
}
