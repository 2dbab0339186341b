#pragma once

#include <QImage>
#include <QWidget>

class QCheckBox;
class QScrollBar;
class QToolButton;

// The area that shows the picture at its current size; only the part in
// view is scaled and painted.
class ImageView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setImage(const QImage& image) { m_image = image; }
    const QImage& image() const { return m_image; }
    // The picture's displayed size and its offset (the scroll values).
    QSizeF displaySize;
    QPoint offset;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

// A viewer window: one picture, zoom, fit window to picture, scrolling and
// "keep on top".
class frmOpenPreview : public QWidget {
    Q_OBJECT
public:
    // Loads the picture named by mdlSt::strWorkPath.
    explicit frmOpenPreview(QWidget* parent = nullptr);

    // Takes the window's slot; a window whose picture failed closes itself.
    void GetNumber(int Num);

    QToolButton* cmdBig = nullptr;
    QToolButton* cmdSmall = nullptr;
    QToolButton* cmdFrmSize = nullptr;
    QCheckBox* chkTop = nullptr;
    ImageView* picBack = nullptr;
    QScrollBar* hscChange = nullptr;
    QScrollBar* vscChange = nullptr;

    double dblRatio = 1.0;
    int intNum = -1;
    bool blnLoadOK = true;

    QSizeF imageSize() const { return picBack->displaySize; }
    void Zoom(double factor);
    void FitWindow();
    // The client size that shows a picture of this size whole: the viewing
    // area 5 pixels wider and 9 pixels taller, plus scroll bars and buttons.
    static QSize FittedClientSize(QSize image);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void CtrlPosiChange();
    void ScrollMaxChange();
};
