// The window menu, help and version.
#include "app/frmMain.h"

#include "app/Desktop.h"
#include "app/HelpWindow.h"
#include "app/WindowArrange.h"
#include "app/frmVer.h"
#include "app/mdlSt.h"
#include "platform/MsgBox.h"
#include "platform/ShowModal.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void frmMain::mnuWinArrange_Click(int index) {
    QList<QMdiSubWindow*> open, minimised;
    for (QMdiSubWindow* w : mdiArea->subWindowList())
        (w->isMinimized() ? minimised : open).append(w);
    QRect area = mdiArea->viewport()->rect();
    // The icons of minimised windows line up along the bottom; tiling and
    // cascading place the open windows above them, so every icon stays in
    // reach.
    if (!minimised.isEmpty()) {
        const QSize icon = minimised.first()->size();
        const QList<QRect> places = LineUpIcons(area, icon, int(minimised.size()));
        for (int i = 0; i < minimised.size(); ++i)
            minimised[i]->move(places[i].topLeft());
        area = AreaAboveIcons(area, icon, int(minimised.size()));
    }
    switch (index) {
    case 0:
    case 1: {
        const QList<QRect> places = index == 0 ? TileSideBySide(area, int(open.size()))
                                               : TileOneAboveOther(area, int(open.size()));
        for (int i = 0; i < open.size(); ++i) {
            open[i]->showNormal();
            open[i]->setGeometry(places[i]);
        }
        break;
    }
    case 2: {
        const int step =
            open.isEmpty() ? 0 : open.first()->height() - open.first()->widget()->height();
        const QList<QRect> places = Cascade(area, int(open.size()), std::max(step, 20));
        for (int i = 0; i < open.size(); ++i) {
            open[i]->showNormal();
            open[i]->setGeometry(places[i]);
            open[i]->raise();
        }
        break;
    }
    default: // 4: the icons are lined up above
        break;
    }
}

void frmMain::fillWindowMenu() {
    for (QAction* a : m_windowItems)
        mnuWin->removeAction(a);
    qDeleteAll(m_windowItems);
    m_windowItems.clear();
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowItems.append(mnuWin->addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        QAction* a = mnuWin->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == mdiArea->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { mdiArea->setActiveSubWindow(w); });
        m_windowItems.append(a);
    }
}

QString frmMain::HelpFilePath() {
    return FindHelpFile(mdlSt::ProgramFolder());
}

void frmMain::mnuHelp_Click(int) {
    if (!m_help) {
        m_help = new HelpWindow(this);
        m_help->move(frameGeometry().topLeft() + QPoint(40, 40));
    }
    if (!m_help->open(HelpFilePath())) {
        MsgBox(QStringLiteral("ヘルプファイルが開けません。\n") + HelpFilePath(),
               Msg::OkOnly | Msg::Exclamation, QStringLiteral("注意"));
        return;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void frmMain::mnuVer_Click() {
    frmVer dialog(this);
    dialog.move(geometry().center() - dialog.rect().center());
    ShowModal(dialog);
}
