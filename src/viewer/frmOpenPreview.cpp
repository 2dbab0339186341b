#include "viewer/frmOpenPreview.h"

#include "app/mdlSt.h"
#include "platform/MsgBox.h"
#include "platform/Picture.h"
#include "platform/Screen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <cmath>

namespace {
constexpr int RowHeight = 25; // the button row
constexpr int BarWidth = 17;  // the scroll bars

// A magnifier with a plus or minus, or a frame with corner arrows.
QIcon drawIcon(char kind) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 110), 2));
    if (kind == 'f') {
        p.drawRect(3, 3, 14, 14);
        p.drawLine(6, 6, 9, 9);
        p.drawLine(14, 14, 11, 11);
        return QIcon(pm);
    }
    p.drawEllipse(2, 2, 11, 11);
    p.drawLine(12, 12, 18, 18);
    p.drawLine(5, 7, 10, 7);
    if (kind == '+')
        p.drawLine(7, 5, 7, 10);
    return QIcon(pm);
}

QToolButton* button(QWidget* parent, char kind, const QString& tip, int leftTwips) {
    auto* b = new QToolButton(parent);
    b->setIcon(drawIcon(kind));
    b->setToolTip(tip);
    b->setGeometry(TwipsToPixelsX(leftTwips), 0, RowHeight, RowHeight);
    return b;
}
} // namespace

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Dark));
    if (m_image.isNull() || displaySize.isEmpty())
        return;
    const QRectF target(-offset.x(), -offset.y(), displaySize.width(), displaySize.height());
    const QRectF shown = target.intersected(QRectF(event->rect()));
    if (shown.isEmpty())
        return;
    // Only the exposed part of the scaled picture is drawn.
    const double sx = m_image.width() / displaySize.width();
    const double sy = m_image.height() / displaySize.height();
    const QRectF source((shown.left() - target.left()) * sx, (shown.top() - target.top()) * sy,
                        shown.width() * sx, shown.height() * sy);
    p.setRenderHint(QPainter::SmoothPixmapTransform, displaySize.width() < m_image.width() * 4);
    p.drawImage(shown, m_image, source);
}

frmOpenPreview::frmOpenPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    cmdBig = button(this, '+', QStringLiteral("拡大"), 0);
    cmdSmall = button(this, '-', QStringLiteral("縮小"), 360);
    cmdFrmSize = button(this, 'f', QStringLiteral("画像サイズにウィンドウサイズをあわせる"), 960);
    chkTop = new QCheckBox(QStringLiteral("手前に表示"), this);
    chkTop->setGeometry(TwipsToPixelsX(1440), 4, 120, 18);
    picBack = new ImageView(this);
    picBack->setGeometry(0, RowHeight, TwipsToPixelsX(6015), TwipsToPixelsY(3735));
    hscChange = new QScrollBar(Qt::Horizontal, this);
    vscChange = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* s : {hscChange, vscChange}) {
        s->setTracking(false); // the picture moves when a value change completes
        s->setSingleStep(16);
    }
    connect(hscChange, &QScrollBar::valueChanged, this, [this](int v) {
        picBack->offset.setX(v);
        picBack->update();
    });
    connect(vscChange, &QScrollBar::valueChanged, this, [this](int v) {
        picBack->offset.setY(v);
        picBack->update();
    });
    connect(cmdBig, &QToolButton::clicked, this, [this] { Zoom(1.1); });
    connect(cmdSmall, &QToolButton::clicked, this, [this] { Zoom(0.9); });
    connect(cmdFrmSize, &QToolButton::clicked, this, &frmOpenPreview::FitWindow);
    connect(chkTop, &QCheckBox::clicked, this,
            [this](bool on) { mdlSt::WinTop(*this, on ? -1 : 0); });
    resize(TwipsToPixelsX(6270), TwipsToPixelsY(4335));
    Form_Load();
}

void frmOpenPreview::Form_Load() {
    blnLoadOK = true;
    const QString path = mdlSt::strWorkPath;
    setWindowTitle(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    const Picture pic = LoadPicture(path);
    if (pic.status == FsStatus::InvalidPicture) {
        MsgBox(QStringLiteral("画像の表示に失敗しました。"), Msg::OkOnly | Msg::Exclamation,
               QStringLiteral("注意"));
        blnLoadOK = false;
        return;
    }
    if (pic.status != FsStatus::Ok)
        return; // the window stays open, empty, its caption naming the file
    dblRatio = double(pic.image.height()) / pic.image.width();
    picBack->setImage(pic.image);
    picBack->displaySize = QSizeF(pic.image.size());
    ScrollMaxChange();
    mdlSt::WinTop(*this, 0);
    chkTop->setChecked(false);
}

void frmOpenPreview::GetNumber(int Num) {
    intNum = Num;
    if (!blnLoadOK)
        close();
}

void frmOpenPreview::CtrlPosiChange() {
    const int w = width() - BarWidth;
    const int h = height() - BarWidth - RowHeight;
    if (w > 0) {
        picBack->resize(w, picBack->height());
        vscChange->move(w, RowHeight);
        hscChange->resize(w, BarWidth);
    }
    if (h > 0) {
        picBack->resize(picBack->width(), h);
        vscChange->resize(BarWidth, h);
        hscChange->move(0, RowHeight + h);
    }
    cmdFrmSize->setEnabled(!isMaximized());
    ScrollMaxChange();
}

void frmOpenPreview::ScrollMaxChange() {
    const QSizeF s = picBack->displaySize;
    hscChange->setMaximum(std::max(0, int(std::lround(s.width())) - picBack->width()));
    vscChange->setMaximum(std::max(0, int(std::lround(s.height())) - picBack->height()));
    hscChange->setPageStep(std::max(1, picBack->width()));
    vscChange->setPageStep(std::max(1, picBack->height()));
}

void frmOpenPreview::Zoom(double factor) {
    QToolButton* pressed = factor > 1 ? cmdBig : cmdSmall;
    pressed->setEnabled(false);
    const double width = picBack->displaySize.width() * factor;
    picBack->displaySize = QSizeF(width, width * dblRatio);
    CtrlPosiChange();
    picBack->update();
    pressed->setEnabled(true);
}

QSize frmOpenPreview::FittedClientSize(QSize image) {
    return QSize(image.width() + 5 + BarWidth, RowHeight + image.height() + 9 + BarWidth);
}

void frmOpenPreview::FitWindow() {
    if (isMaximized())
        return;
    const QSizeF s = picBack->displaySize;
    QSize client =
        FittedClientSize(QSize(int(std::lround(s.width())), int(std::lround(s.height()))));
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize frame = frameGeometry().size() - size();
    const QSize limit = screen->geometry().size() - frame;
    resize(client.boundedTo(limit));
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
    if (intNum >= 0 && intNum < mdlSt::blnViewerUsed.size())
        mdlSt::blnViewerUsed[intNum] = false;
    event->accept();
}
