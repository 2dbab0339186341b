// The file commands of the main window: the six tool buttons, the Edit menu,
// the popup menu of a thumbnail and the two drop targets. Each fills the
// operation code and the destination, asks its own question and hands over to
// CopyAndMove.
#include "app/frmMain.h"

#include "app/frmDir.h"
#include "app/mdlSt.h"
#include "fileops/FileOperation.h"
#include "fileops/ThumbnailDrop.h"
#include "platform/DirList.h"
#include "platform/FileList.h"
#include "platform/MsgBox.h"
#include "platform/ShowModal.h"
#include "thumbs/frmPreview.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QToolButton>

using namespace mdlSt;

namespace {
bool SelectionEmpty() {
    return strSelectFiles.isEmpty() || strSelectFiles[0].isEmpty();
}

// The question every delete command asks first; No is the default.
bool ConfirmDelete() {
    return MsgBox(QStringLiteral("ファイルを削除しますか？"),
                  Msg::YesNo | Msg::Question | Msg::DefaultButton2,
                  QStringLiteral("ファイルの削除")) == Msg::Yes;
}

// Lets the user pick the destination folder, starting from strDestPath.
void ChooseFolder(QWidget* parent) {
    frmDir dialog(parent);
    ShowModal(dialog);
}
} // namespace

void frmMain::connectFileCommands() {
    connect(cmdOpen, &QToolButton::clicked, this, &frmMain::cmdOpen_Click);
    connect(mnuPicOpen, &QAction::triggered, cmdOpen, &QToolButton::click);
    connect(cmdReNameSingle, &QToolButton::clicked, this, &frmMain::cmdReNameSingle_Click);
    connect(cmdCopy, &QToolButton::clicked, this, &frmMain::cmdCopy_Click);
    connect(cmdMove, &QToolButton::clicked, this, &frmMain::cmdMove_Click);
    connect(cmdDelete, &QToolButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdReName, &QToolButton::clicked, this, &frmMain::cmdReName_Click);
    for (int code : {OpRenameOne, OpCopy, OpMove, OpDelete, OpRenameAll})
        connect(mnuMove[size_t(code)], &QAction::triggered, this,
                [this, code] { mnuMove_Click(code); });
    for (int code : {OpOpen, OpRenameOne, OpCopy, OpMove, OpDelete, OpRenameAll})
        connect(mnuChange[size_t(code)], &QAction::triggered, this,
                [this, code] { mnuChange_Click(code); });
    new ThumbnailDrop(dirSelect->viewport(), *this, &frmMain::dirSelect_DragDrop);
    new ThumbnailDrop(imgDust, *this, &frmMain::imgDust_DragDrop);
}

void frmMain::CopyAndMove(const QString& strDirPath2) {
    // No second operation starts inside a running one.
    if (m_operating)
        return;
    m_operating = true;
    CommandEnabled(0);
    FileOperation(*this).run(strDirPath2);
    m_operating = false;
    CommandEnabled(0);
}

void frmMain::PanelRefresh() {
    flbSelect->Refresh();
    showCount();
}

void frmMain::cancelSelection() {
    if (intActiveWin >= 0 && intActiveWin < frmPre.size())
        if (frmPreview* w = frmPre[intActiveWin])
            w->SelectFileClear();
    PanelRefresh();
    strSelectFiles.clear();
    intSelectIndex.clear();
    mdlSt::CommandEnabled(0);
}

void frmMain::cmdOpen_Click() {
    if (m_operating || SelectionEmpty())
        return;
    bytOperation = OpOpen;
    strDestPath = strCurrentPath;
    CopyAndMove(strDestPath);
}

void frmMain::cmdReNameSingle_Click() {
    if (m_operating || SelectionEmpty())
        return;
    bytOperation = OpRenameOne;
    strDestPath = strCurrentPath;
    CopyAndMove(strDestPath);
}

void frmMain::cmdCopy_Click() {
    if (m_operating || SelectionEmpty())
        return;
    bytOperation = OpCopy;
    strDestPath = strCurrentPath;
    ChooseFolder(this);
    CopyAndMove(strDestPath);
}

void frmMain::cmdMove_Click() {
    if (m_operating || SelectionEmpty())
        return;
    bytOperation = OpMove;
    strDestPath = strCurrentPath;
    ChooseFolder(this);
    CopyAndMove(strDestPath);
}

void frmMain::cmdDelete_Click() {
    if (m_operating || SelectionEmpty())
        return;
    strDestPath = strCurrentPath;
    if (!ConfirmDelete())
        strDestPath.clear();
    bytOperation = OpDelete;
    CopyAndMove(strDestPath);
}

void frmMain::cmdReName_Click() {
    if (m_operating || SelectionEmpty())
        return;
    bytOperation = OpRenameAll;
    strDestPath = QStringLiteral(" ");
    // Without a thumbnail window there is nothing to rename.
    auto* active = qobject_cast<frmPreview*>(mdiArea->currentSubWindow());
    if (!active)
        return;
    active->WinNum();
    CopyAndMove(strDestPath);
}

void frmMain::mnuMove_Click(int Index) {
    menuOperation(Index, true);
}

void frmMain::mnuChange_Click(int Index) {
    menuOperation(Index, false);
}

void frmMain::menuOperation(int index, bool winNum) {
    if (m_operating)
        return;
    strDestPath = strCurrentPath;
    if (index == OpDelete) {
        if (!ConfirmDelete())
            strDestPath.clear();
    } else if (index != OpOpen && index != OpRenameOne && index != OpRenameAll) {
        ChooseFolder(this);
    }
    if (strDestPath.isEmpty()) {
        cancelSelection();
        return;
    }
    bytOperation = index;
    // The Edit menu works on the active thumbnail window; without one the
    // selection stays with the window it came from.
    if (winNum)
        if (auto* active = qobject_cast<frmPreview*>(mdiArea->currentSubWindow()))
            active->WinNum();
    CopyAndMove(strDestPath);
}

void frmMain::imgDust_DragDrop() {
    if (m_operating)
        return;
    strDestPath = strCurrentPath;
    if (!ConfirmDelete()) {
        cancelSelection();
        return;
    }
    bytOperation = OpDelete;
    CopyAndMove(dirSelect->Path());
}

void frmMain::dirSelect_DragDrop() {
    if (m_operating)
        return;
    strDestPath = strCurrentPath;
    bytOperation = OpAsk;
    CopyAndMove(dirSelect->Path());
}
