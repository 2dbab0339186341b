// The panel's layout: the two splitters with their limits, the folder list
// snapping to whole rows, the frame's minimum size, and the viewers following
// the frame into the task bar.
#include "app/frmMain.h"

#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/FileList.h"
#include "platform/Screen.h"

#include <QEvent>
#include <QMdiArea>
#include <QSplitter>
#include <functional>

namespace {
constexpr int MinPanelWidth = 100;  // the panel with its splitter handle
constexpr int MinClientWidth = 250; // the client area right of the panel
constexpr int SplitMargin = 50;     // the split stays this far from either end
constexpr int PanelHandleWidth = 9;
constexpr int ListHandleHeight = 5;
constexpr int DesignSplit = 144;

// The panel: after each resize, whatever its cause, it lays its lists out.
class Panel : public QSplitter {
public:
    Panel(QWidget* parent, std::function<void()> resized)
        : QSplitter(Qt::Vertical, parent), m_resized(std::move(resized)) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QSplitter::resizeEvent(event);
        m_resized();
    }

private:
    std::function<void()> m_resized;
};
} // namespace

int SnapToRows(int height, int rowHeight, int frame, int minimum) {
    if (rowHeight <= 0)
        return height;
    const int rows = std::max(0, (height - 2 * frame) / rowHeight);
    int snapped = 2 * frame + rows * rowHeight;
    while (snapped < minimum)
        snapped += rowHeight;
    return snapped;
}

QSplitter* frmMain::newPanel() {
    return new Panel(frame, [this] { panelResized(); });
}

void frmMain::setupLayout() {
    frame->setOpaqueResize(false);
    frame->setHandleWidth(PanelHandleWidth);
    picSelect->setOpaqueResize(false);
    picSelect->setHandleWidth(ListHandleHeight);
    picSelect->setMinimumWidth(MinPanelWidth - PanelHandleWidth);
    mdiArea->setMinimumWidth(MinClientWidth);
    dirSelect->setMinimumHeight(SplitMargin);
    flbSelect->setMinimumHeight(SplitMargin - ListHandleHeight);
    picSelect->setStretchFactor(0, 0);
    picSelect->setStretchFactor(1, 1);
    // Every start begins with the design layout: a panel 145 pixels wide
    // (its handle included), split 144 pixels from the top.
    const int panelWidth = TwipsToPixelsX(2175);
    frame->setSizes({panelWidth - PanelHandleWidth, TwipsToPixelsX(10065) - panelWidth});
    m_split = DesignSplit;
    picSelect->setSizes({m_split, TwipsToPixelsY(7215) - m_split - ListHandleHeight});
    // A drag of the split moves it; the folder list then snaps to whole rows.
    connect(picSelect, &QSplitter::splitterMoved, this, [this](int pos) {
        m_split = pos;
        snapFolderList();
    });
    // The frame's smallest height: the handle, 100 + 40 pixels and the two bars.
    setMinimumHeight(ListHandleHeight + 100 + 40 + picToolbar->height() + picStatus->height());
}

void frmMain::panelResized() {
    // The split stays 50 pixels above the panel's bottom edge.
    m_split = std::min(m_split, picSelect->height() - SplitMargin);
    snapFolderList();
}

void frmMain::snapFolderList() {
    QList<int> sizes = picSelect->sizes();
    if (sizes.size() != 2)
        return;
    const int total = sizes[0] + sizes[1];
    const int row =
        dirSelect->count() > 0 ? dirSelect->sizeHintForRow(0) : dirSelect->fontMetrics().height();
    const int snapped = SnapToRows(m_split, row, dirSelect->frameWidth(), SplitMargin);
    if (snapped == sizes[0] || total - snapped < flbSelect->minimumHeight())
        return;
    picSelect->setSizes({snapped, total - snapped});
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    for (int i = 0; i < mdlSt::blnViewerUsed.size(); ++i)
        if (mdlSt::blnViewerUsed[i] && i < mdlSt::frmViewer.size() && mdlSt::frmViewer[i])
            mdlSt::frmViewer[i]->showMinimized();
}
