#include "thumbs/ThumbWidgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

// Boxes and labels paint their own background instead of being opaque
// widgets: the canvas would otherwise unite the rectangles of all its opaque
// children again after each thumbnail placed, a cost that grows with the
// square of their number and took half the user-interface thread's time when
// a folder listed from the thumbnail cache.
ThumbBox::ThumbBox(QWidget* parent) : QWidget(parent) {}

void ThumbBox::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void ThumbBox::clearPicture() {
    m_picture = QPixmap();
    update();
}

void ThumbBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ThumbBackground);
    if (!m_picture.isNull())
        p.drawPixmap(0, 0, m_picture);
}

void ThumbBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->modifiers());
}

void ThumbBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

ThumbLabel::ThumbLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setSelectedLook(false);
}

void ThumbLabel::setSelectedLook(bool selected) {
    m_selected = selected;
    // The colours of an enabled button, also while the window is disabled
    // during its listing.
    const QPalette app = QApplication::palette();
    QPalette p = palette();
    p.setColor(QPalette::Window,
               selected ? SelectedLabel : app.color(QPalette::Active, QPalette::Button));
    p.setColor(QPalette::WindowText, app.color(QPalette::Active, QPalette::ButtonText));
    setPalette(p);
}

void ThumbLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
}

void ThumbLabel::paintEvent(QPaintEvent* event) {
    QPainter(this).fillRect(rect(), palette().color(backgroundRole()));
    const bool fits = fontMetrics().horizontalAdvance(text()) <= contentsRect().width();
    const Qt::Alignment wanted = (fits ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
    if (alignment() != wanted)
        setAlignment(wanted);
    QLabel::paintEvent(event);
}

ThumbFocusFrame::ThumbFocusFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ThumbFocusFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Filled bands, not pen strokes: whole logical pixels, so the rings stay
    // solid and apart at any device pixel ratio.
    const auto ring = [&p](const QRect& r, int width, const QColor& colour) {
        p.fillRect(r.x(), r.y(), r.width(), width, colour);
        p.fillRect(r.x(), r.bottom() - width + 1, r.width(), width, colour);
        p.fillRect(r.x(), r.y(), width, r.height(), colour);
        p.fillRect(r.right() - width + 1, r.y(), width, r.height(), colour);
    };
    ring(rect(), 2, Qt::white);
    ring(rect().adjusted(2, 2, -2, -2), 1, Qt::black);
}

void ThumbViewport::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        emit wheelSteps(steps);
    event->accept();
}
