// The main window's part in thumbnail windows: the box size chosen in the two
// size lists, opening a window for the current folder, closing one or all, and
// selecting everything in the active one.
#include "app/frmMain.h"

#include "app/PathRules.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/Files.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/frmPreview.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QToolButton>
#include <cmath>

void frmMain::cmbDot_Click(int index) {
    using namespace mdlSt;
    QComboBox* list = cmbDot[index];
    sngSetting[index == 0 ? SlotWidthIndex : SlotHeightIndex] = float(list->currentIndex());
    const QString text = list->currentText();
    float size = 0;
    if (text == QStringLiteral("E判"))
        size = float(5800.0 / (index == 0 ? TwipsPerPixelX() : TwipsPerPixelY()));
    else
        size = float(std::nearbyint(text.toDouble()));
    sngSetting[index == 0 ? SlotBoxWidth : SlotBoxHeight] = size;
}

void frmMain::connectThumbnails() {
    connect(cmdSam, &QToolButton::clicked, this, &frmMain::cmdSam_Click);
    connect(mnuThum, &QAction::triggered, cmdSam, &QToolButton::click);
    connect(cmdClose, &QToolButton::clicked, this, &frmMain::cmdClose_Click);
    connect(mnuClo, &QAction::triggered, cmdClose, &QToolButton::click);
    connect(cmdPanic, &QToolButton::clicked, this, &frmMain::cmdPanic_Click);
    connect(mnuClose, &QAction::triggered, cmdPanic, &QToolButton::click);
    connect(cmdAllSelect, &QToolButton::clicked, this, &frmMain::cmdAllSelect_Click);
    connect(mnuAllSelect, &QAction::triggered, cmdAllSelect, &QToolButton::click);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::childActivated);
    // Ctrl+Tab and Ctrl+Shift+Tab walk the thumbnail windows in the window
    // menu's order, each press at once. Taken as shortcuts, the keys never
    // reach the client area's own switching, which activates a window only
    // when Ctrl is released and goes back to the last active window instead
    // whenever the keys are pressed quickly, in either direction.
    const std::pair<QList<QKeySequence>, int> walks[] = {
        {{QKeySequence(Qt::CTRL | Qt::Key_Tab)}, 1},
        {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
         -1}};
    for (const auto& [keys, step] : walks) {
        auto* walk = new QAction(this);
        walk->setShortcuts(keys);
        addAction(walk);
        connect(walk, &QAction::triggered, this,
                [this, step = step] { stepThumbnailWindow(step); });
    }
}

void frmMain::stepThumbnailWindow(int step) {
    // Not while a listing or an operation keeps the window menu disabled.
    if (!mnuWin->isEnabled() || m_operating)
        return;
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
        auto* preview = qobject_cast<frmPreview*>(w);
        if (preview && !preview->isClosed() && !preview->isHidden())
            windows.append(w);
    }
    if (windows.isEmpty())
        return;
    const int at = int(windows.indexOf(mdiArea->currentSubWindow()));
    const int count = int(windows.size());
    const int to = at < 0 ? (step > 0 ? 0 : count - 1) : ((at + step) % count + count) % count;
    QMdiSubWindow* w = windows[to];
    // As a click on the window: it becomes the active one, with the keyboard
    // focus in its thumbnails.
    mdiArea->setActiveSubWindow(w);
    if (!w->isMinimized())
        w->widget()->setFocus(Qt::TabFocusReason);
}

// A window is activated when it becomes the active child; the frame losing and
// regaining the focus does not activate it again.
void frmMain::childActivated(QMdiSubWindow* w) {
    if (!w || w == m_activatedChild)
        return;
    m_activatedChild = w;
    if (auto* preview = qobject_cast<frmPreview*>(w))
        if (!preview->isClosed())
            preview->Form_Activate();
}

void frmMain::cmdSam_Click() {
    using namespace mdlSt;
    cmdSam->setEnabled(false);
    strCurrentPath = dirSelect->Path();
    const DirListing listing = DirEnumerate(strCurrentPath, AttributeMask());
    if (listing.status != FsStatus::Ok) {
        MsgBox(QStringLiteral("フォルダーを開けませんでした。\n") + strCurrentPath,
               Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
        PanelEnabled(true);
        return;
    }
    bool hasImage = false;
    for (const QString& name : listing.names)
        hasImage = IsImageName(name) || hasImage;
    if (!hasImage) {
        PanelEnabled(true);
        return;
    }
    int slot = WinSearch(strCurrentPath);
    if (slot >= 0) {
        if (frmPreview* open = frmPre.value(slot)) {
            mdiArea->setActiveSubWindow(open);
            open->widget()->setFocus();
        }
        PanelEnabled(true);
        return;
    }
    slot = int(strWinPath.indexOf(QString()));
    if (slot < 0) {
        slot = int(strWinPath.size());
        strWinPath.append(QString());
    }
    if (slot > intWinMax)
        intWinMax = slot;
    while (frmPre.size() < intWinMax + 1)
        frmPre.append(nullptr);
    while (strWinPath.size() < intWinMax + 2)
        strWinPath.append(QString());
    strWinPath[slot] = strCurrentPath;

    const QString path = dirSelect->Path();
    auto* window = new frmPreview;
    frmPre[slot] = window;
    QString caption = GetLastPart(path, QLatin1Char('/'));
    if (caption.isEmpty())
        caption = path.left(2);
    window->setWindowTitle(caption);
    window->setWindowIcon(windowIcon());
    // The path goes in before the window is shown, so that its activation
    // already finds its slot.
    window->txtPath->setText(path);
    mdiArea->addSubWindow(window);
    window->show();
    QPointer<frmPreview> guard = window;
    const bool listed = window->ListPre(strCurrentPath);
    if (!listed && guard)
        guard->close();
    // A window closed while it loaded goes now that its loading has ended.
    if (guard && guard->isClosed())
        delete guard.data();
    if (listed) {
        HistoryAdd(path);
        HistoryMenu();
    }
    // A message box shown during the listing took the activation, and the
    // frame regaining it may have handed it to another window: the new one
    // ends active, with the selection and the commands its own.
    if (guard && !guard->isClosed()) {
        mdiArea->setActiveSubWindow(guard);
        guard->widget()->setFocus();
        childActivated(guard);
    }
    cmdSam->setEnabled(true);
}

void frmMain::cmdClose_Click() {
    if (QMdiSubWindow* w = mdiArea->currentSubWindow())
        w->close();
}

void frmMain::cmdPanic_Click() {
    using namespace mdlSt;
    for (int i = 0; i < blnViewerUsed.size(); ++i)
        if (blnViewerUsed[i] && i < frmViewer.size() && frmViewer[i])
            frmViewer[i]->close();
    frmViewer = QList<QPointer<QWidget>>{nullptr};
    blnViewerUsed = QList<bool>{false};
    const QList<QPointer<frmPreview>> windows = frmPre;
    for (const QPointer<frmPreview>& w : windows)
        if (w && !w->isClosed())
            w->close();
}

void frmMain::cmdAllSelect_Click() {
    cmdAllSelect->setEnabled(false);
    if (auto* w = qobject_cast<frmPreview*>(mdiArea->currentSubWindow()))
        if (!w->isClosed())
            w->AllSelectFiles();
    cmdAllSelect->setEnabled(true);
}
