#include "viewer/frmOpenPreview.h"

#include "app/mdlSt.h"
#include "platform/ButtonIcon.h"
#include "platform/MsgBox.h"
#include "platform/Picture.h"
#include "platform/Screen.h"
#include "viewer/ViewerGeometry.h"
#include "viewer/ViewerIcons.h"
#include "viewer/ViewingArea.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace {

QToolButton* pictureButton(QWidget* parent, const QIcon& icon, const QString& tip, int leftTwips) {
    auto* b = new QToolButton(parent);
    b->setIcon(PictureButtonIcon(icon));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::TabFocus);
    b->setGeometry(TwipsToPixels(leftTwips, 0, 375, 375));
    return b;
}

// A small scroll step for the arrows, a page for the trough.
void setSteps(QScrollBar* bar, int page) {
    bar->setSingleStep(16);
    bar->setPageStep(std::max(1, page));
}

} // namespace

frmOpenPreview::frmOpenPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    cmdBig = pictureButton(this, MagnifierIcon(true), QStringLiteral("拡大"), 0);
    cmdSmall = pictureButton(this, MagnifierIcon(false), QStringLiteral("縮小"), 360);
    cmdFrmSize = pictureButton(this, FitFrameIcon(),
                               QStringLiteral("画像サイズにウィンドウサイズをあわせる"), 960);

    chkTop = new QCheckBox(QStringLiteral("手前に表示"), this);
    const QRect box = TwipsToPixels(1440, 90, 1335, 180);
    const QSize hint = chkTop->sizeHint();
    // The font may need more room than the design gives; stay centred in the row.
    const int h = std::max(box.height(), hint.height());
    chkTop->setGeometry(box.left(), std::max(0, (cmdBig->height() - h) / 2),
                        std::max(box.width(), hint.width()), h);

    // The viewing area starts under the button row; the scroll bars hug it.
    const int row = cmdBig->height();
    const QRect back = TwipsToPixels(0, 0, 6015, 3735);
    picBack = new ViewingArea(this);
    picBack->setGeometry(0, row, back.width(), back.height());
    ImgMain = &picBack->ImgMain;
    const QRect h0 = TwipsToPixels(0, 4080, 6015, 255);
    hscChange = new QScrollBar(Qt::Horizontal, this);
    hscChange->setGeometry(0, row + back.height(), h0.width(), h0.height());
    const QRect v0 = TwipsToPixels(6000, 360, 255, 3735);
    vscChange = new QScrollBar(Qt::Vertical, this);
    vscChange->setGeometry(back.width(), row, v0.width(), back.height());
    for (QScrollBar* bar : {hscChange, vscChange}) {
        // Only a completed change moves the picture, not the dragging itself.
        bar->setTracking(false);
        bar->setRange(0, 0);
    }

    connect(cmdBig, &QToolButton::clicked, this, &frmOpenPreview::cmdBig_Click);
    connect(cmdSmall, &QToolButton::clicked, this, &frmOpenPreview::cmdSmall_Click);
    connect(cmdFrmSize, &QToolButton::clicked, this, &frmOpenPreview::cmdFrmSize_Click);
    connect(chkTop, &QCheckBox::clicked, this, &frmOpenPreview::chkTop_Click);
    connect(hscChange, &QScrollBar::valueChanged, this, [this](int v) { ImgMain->setLeft(-v); });
    connect(vscChange, &QScrollBar::valueChanged, this, [this](int v) { ImgMain->setTop(-v); });

    // Never smaller than the button row with the check box, nor than a title
    // bar with the window's icon and its three buttons: a window fitted to a
    // tiny picture keeps its controls, as the old platform's minimum tracking
    // size kept them.
    const int titleBar = 4 * style()->pixelMetric(QStyle::PM_TitleBarButtonSize, nullptr, this);
    setMinimumSize(std::max(chkTop->geometry().right() + 1, titleBar), row);

    const QRect client = TwipsToPixels(0, 0, 6270, 4335);
    resize(client.size());
}

void frmOpenPreview::Form_Load() {
    blnLoadOK = true;
    const QString& path = mdlSt::strWorkPath;
    // The caption comes first, so that a window left empty still names its file.
    setWindowTitle(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    const Picture picture = LoadPicture(path);
    if (picture.status == FsStatus::InvalidPicture) {
        MsgBox(QStringLiteral("画像の表示に失敗しました。"), Msg::OkOnly | Msg::Exclamation,
               QStringLiteral("注意"));
        blnLoadOK = false;
        return;
    }
    if (picture.status != FsStatus::Ok)
        return;
    const QSize size = picture.image.size();
    dblRatio = double(size.height()) / size.width();
    ImgMain->setPicture(picture.image);
    ImgMain->Move(0, 0, size.width(), size.height());
    ScrollMaxChange();
    WinTop(*this, 0);
    chkTop->setChecked(false);
}

void frmOpenPreview::GetNumber(int Num) {
    intNum = Num;
    if (!blnLoadOK)
        close();
}

void frmOpenPreview::cmdBig_Click() {
    zoom(cmdBig, 1.1);
}

void frmOpenPreview::cmdSmall_Click() {
    zoom(cmdSmall, 0.9);
}

void frmOpenPreview::zoom(QToolButton* pressed, double factor) {
    pressed->setEnabled(false);
    ImgMain->setVisible(false);
    // The height follows from the width, so repeated steps never distort.
    const double width = ImgMain->Width() * factor;
    const double height = ImgMain->Width() * factor * dblRatio;
    ImgMain->Move(0, 0, width, height);
    CtrlPosiChange();
    ScrollMaxChange();
    ImgMain->setVisible(true);
    pressed->setEnabled(true);
}

void frmOpenPreview::cmdFrmSize_Click() {
    if (isMaximized())
        return;
    const QSize wanted = FittedClientSize(ImgMain->Width(), ImgMain->Height(), vscChange->width(),
                                          hscChange->height(), cmdBig->height());
    const QSize frame = frameGeometry().size() - geometry().size();
    const QScreen* s = screen();
    const QSize screenSize = s ? s->geometry().size() : wanted + frame;
    resize(ClientCutToScreen(wanted, frame, screenSize));
}

void frmOpenPreview::chkTop_Click() {
    WinTop(*this, chkTop->isChecked() ? -1 : 0);
}

void frmOpenPreview::CtrlPosiChange() {
    const QSize before = picBack->size();
    const int row = cmdBig->height();
    const int w = width() - vscChange->width();
    const int h = height() - hscChange->height() - row;
    if (w > 0) {
        picBack->resize(w, picBack->height());
        vscChange->move(w, vscChange->y());
        hscChange->resize(w, hscChange->height());
    }
    if (h > 0) {
        picBack->resize(picBack->width(), h);
        vscChange->resize(vscChange->width(), h);
        hscChange->move(hscChange->x(), row + h);
    }
    cmdFrmSize->setEnabled(!isMaximized());
    if (picBack->size() != before)
        ScrollMaxChange();
}

void frmOpenPreview::ScrollMaxChange() {
    // A value above the new maximum drops to it, which moves the picture.
    hscChange->setMaximum(ScrollMaximum(ImgMain->Width(), picBack->width()));
    vscChange->setMaximum(ScrollMaximum(ImgMain->Height(), picBack->height()));
    setSteps(hscChange, picBack->width());
    setSteps(vscChange, picBack->height());
}

void frmOpenPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    CtrlPosiChange();
}

void frmOpenPreview::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        cmdFrmSize->setEnabled(!isMaximized());
}

void frmOpenPreview::closeEvent(QCloseEvent* event) {
    // Frees the slot, but only its own: after the slots were reset another
    // window may hold the number.
    using namespace mdlSt;
    if (intNum >= 0 && intNum < blnViewerUsed.size() && intNum < frmViewer.size() &&
        frmViewer[intNum] == this)
        blnViewerUsed[intNum] = false;
    event->accept();
}
