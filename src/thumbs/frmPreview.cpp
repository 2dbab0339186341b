// The thumbnail window itself: its controls, creation, activation, close and
// the small public routines that the file commands call.
#include "thumbs/frmPreview.h"

#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/Screen.h"
#include "thumbs/ThumbDecoder.h"
#include "thumbs/ThumbWidgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <cmath>

namespace {
void paintDarkGrey(QWidget* w) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, ThumbBackground);
    w->setPalette(p);
}
} // namespace

QSize frmPreview::DesignClientSize() {
    return QSize(TwipsToPixelsX(5205), TwipsToPixelsY(3630));
}

frmPreview::frmPreview(QWidget* parent) : QMdiSubWindow(parent) {
    client = new QWidget;
    picPreview = new ThumbViewport(client);
    paintDarkGrey(picPreview);
    picPre = new QWidget(picPreview);
    paintDarkGrey(picPre);
    // The viewport takes the keyboard focus, from a click anywhere in it and
    // whenever the window is activated.
    picPreview->setFocusPolicy(Qt::StrongFocus);
    client->setFocusProxy(picPreview);
    picPreview->installEventFilter(this);
    focusFrame = new ThumbFocusFrame(picPre);
    focusFrame->hide();
    vscScroll = new QScrollBar(Qt::Vertical, client);
    // The canvas moves when a thumb drag ends, not while it is dragged.
    vscScroll->setTracking(false);
    txtPath = new QLineEdit(client);
    // The path is the window's identity: the user cannot change it.
    txtPath->setReadOnly(true);
    // The box never takes the focus, so the Edit menu's shortcuts (Ctrl+C
    // copies the selected files) reach the menu; its own popup menu still
    // copies the text.
    txtPath->setFocusPolicy(Qt::NoFocus);
    QPalette p = txtPath->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(QPalette::Active, QPalette::Button));
    txtPath->setPalette(p);
    ensureElement(0);

    setWidget(client);
    client->installEventFilter(this);
    connect(vscScroll, &QScrollBar::valueChanged, this, &frmPreview::vscScroll_Change);
    connect(picPreview, &ThumbViewport::wheelSteps, this, [this](int steps) {
        vscScroll->setValue(vscScroll->value() - steps * 3 * vscScroll->singleStep());
    });
    Form_Load();
    ensurePolished();
    const QMargins m = contentsMargins();
    resize(DesignClientSize().grownBy(m));
}

frmPreview::~frmPreview() = default;

void frmPreview::Form_Load() {
    intPicWidth = int(std::nearbyint(mdlSt::sngSetting[mdlSt::SlotBoxWidth]));
    intPicHeight = int(std::nearbyint(mdlSt::sngSetting[mdlSt::SlotBoxHeight]));
}

int frmPreview::slot() const {
    frmMain* f = frmMain::instance();
    if (!f)
        return -1;
    for (int i = 0; i < f->frmPre.size(); ++i)
        if (f->frmPre[i] == this)
            return i;
    return -1;
}

void frmPreview::Form_Activate() {
    mdlSt::CommandEnabled(gatherSelection());
}

void frmPreview::WinNum() {
    mdlSt::intActiveWin = mdlSt::WinSearch(txtPath->text());
}

void frmPreview::ReName(int Index, const QString& strName) {
    if (Index >= 0 && Index < strFiles.size())
        strFiles[Index] = strName;
}

void frmPreview::Form_QueryUnload() {
    // The slot is found through frmPre: while the path box shows progress text
    // the window's path cannot be looked up.
    const int s = slot();
    if (s >= 0 && s < mdlSt::strWinPath.size())
        mdlSt::strWinPath[s] = QString();
    strFiles.clear();
    blnSelected.clear();
    unloadElements();
    intFileCount = 0;
}

void frmPreview::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        // The real thumbnails behind the window are not made any more.
        m_behind.reset();
        Form_QueryUnload();
    }
    QMdiSubWindow::closeEvent(event);
    event->accept();
    // A window that is loading is deleted when its loading loop has ended.
    if (!isLoading())
        deleteLater();
}

bool frmPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client && event->type() == QEvent::Resize)
        Form_Resize();
    if (watched == picPreview) {
        if (event->type() == QEvent::KeyPress && viewportKeyPress(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            placeFocusFrame();
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void frmPreview::ensureElement(int i) {
    while (picPre1.size() <= i) {
        auto* label = new ThumbLabel(picPre);
        label->resize(intPicWidth > 0 ? intPicWidth : 1, LabelHeight);
        label->hide();
        auto* box = new ThumbBox(picPre);
        box->hide();
        const int index = int(picPre1.size());
        connect(box, &ThumbBox::pressed, this,
                [this, index](Qt::MouseButton button, Qt::KeyboardModifiers mods) {
                    int shift = 0;
                    if (mods & Qt::ShiftModifier)
                        shift |= 1;
                    if (mods & Qt::ControlModifier)
                        shift |= 2;
                    if (mods & Qt::AltModifier)
                        shift |= 4;
                    picPre1_MouseDown(index, button, shift);
                });
        connect(box, &ThumbBox::doubleClicked, this, [this, index] { picPre1_DblClick(index); });
        connect(label, &ThumbLabel::pressed, this,
                [this, index](Qt::MouseButton button) { lblName_MouseDown(index, button); });
        lblName.append(label);
        picPre1.append(box);
    }
}

void frmPreview::unloadElements() {
    while (picPre1.size() > 1) {
        delete picPre1.takeLast();
        delete lblName.takeLast();
    }
    if (!picPre1.isEmpty()) {
        picPre1[0]->hide();
        picPre1[0]->clearPicture();
        lblName[0]->hide();
        lblName[0]->clear();
        lblName[0]->setToolTip(QString());
        lblName[0]->setSelectedLook(false);
    }
}
