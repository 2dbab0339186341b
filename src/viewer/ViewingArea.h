#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

class QPainter;

// The stretching image control of the viewer: the picture shown at any size
// and place inside the viewing area. Position and size are kept exactly (the
// height follows the width through the picture's proportions, so rounding
// never accumulates); only painting rounds to pixels.
class StretchImage {
public:
    explicit StretchImage(QWidget* host) : m_host(host) {}

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    bool Visible() const { return m_visible; }

    void Move(double left, double top, double width, double height);
    void setLeft(double left);
    void setTop(double top);
    void setVisible(bool visible);

    // Paints the part of the scaled picture that lies in the exposed rectangle
    // (host coordinates). Only the exposed part is scaled; a picture shown
    // much smaller than its own size is drawn from a reduced copy, made once,
    // and smoothed; an enlarged one shows its pixels.
    void paint(QPainter& painter, const QRect& exposed) const;

private:
    // The reduced copy the picture is drawn from at the current size: level 0
    // is the picture itself, each further level half the size of the one
    // before.
    int levelForCurrentSize() const;
    const QImage& level(int k) const;

    QWidget* m_host;
    QImage m_picture;
    mutable std::vector<QImage> m_reduced; // levels 1, 2, ... made on first use
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = true;
};

// The viewing area: clips the picture to its own rectangle.
class ViewingArea : public QWidget {
public:
    explicit ViewingArea(QWidget* parent);
    StretchImage ImgMain;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
