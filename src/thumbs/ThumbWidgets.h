#pragma once

// The small controls of a thumbnail window: the box that shows a thumbnail,
// the name label under it, and the viewport that scrolls with the wheel.
#include <QLabel>
#include <QPixmap>
#include <QWidget>

// The dark grey of the viewport, the canvas and the boxes (&H00404040).
inline const QColor ThumbBackground = QColor(0x40, 0x40, 0x40);
// The label of a selected entry: &H00FF8080, light blue.
inline const QColor SelectedLabel = QColor(0x80, 0x80, 0xFF);

// A thumbnail box (picPre1): dark grey, with its picture at the top-left
// corner. The picture is kept, so it is drawn again whenever uncovered.
class ThumbBox : public QWidget {
    Q_OBJECT
public:
    explicit ThumbBox(QWidget* parent);
    void setPicture(const QPixmap& picture);
    void clearPicture();
    const QPixmap& picture() const { return m_picture; }

signals:
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A double click is the second press: it raises only doubleClicked.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
};

// A name label (lblName): system button face, or light blue when selected.
class ThumbLabel : public QLabel {
    Q_OBJECT
public:
    explicit ThumbLabel(QWidget* parent);
    void setSelectedLook(bool selected);
    bool selectedLook() const { return m_selected; }

signals:
    void pressed(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // A name that fits is centred; a longer one starts at the left edge, so
    // that its beginning stays readable.
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_selected = false;
};

// The focus frame around the current entry: a white ring with a black one
// inside it, so that it shows on the dark canvas and beside a light label
// alike. It lies in the gap around the entry and lets the mouse through.
class ThumbFocusFrame : public QWidget {
    Q_OBJECT
public:
    explicit ThumbFocusFrame(QWidget* parent);
    // How far the frame lies outside the entry's box and label.
    static constexpr int Margin = 4;

protected:
    void paintEvent(QPaintEvent*) override;
};

// The viewport (picPreview): the wheel moves its scroll bar.
class ThumbViewport : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void wheelSteps(int steps);

protected:
    void wheelEvent(QWheelEvent* event) override;
};
