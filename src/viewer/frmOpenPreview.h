#pragma once

#include <QWidget>

class QCheckBox;
class QScrollBar;
class QToolButton;
class StretchImage;
class ViewingArea;

// A viewer window: one image file at its natural size first, zoom in and out
// by 10 %, a window sized to the picture, scroll bars for the part that does
// not fit, and a box that keeps the window above all others. It is a window of
// its own, not a child of the main window.
class frmOpenPreview : public QWidget {
    Q_OBJECT
public:
    explicit frmOpenPreview(QWidget* parent = nullptr);

    // Loads the picture named by mdlSt::strWorkPath (Form_Load).
    void Form_Load();
    // Takes the window's slot; a window whose picture could not be read as a
    // picture closes itself here.
    void GetNumber(int Num);

    void cmdBig_Click();
    void cmdSmall_Click();
    void cmdFrmSize_Click();
    void chkTop_Click();

    // Places the viewing area and the scroll bars in the client area.
    void CtrlPosiChange();
    // How far the scroll bars reach.
    void ScrollMaxChange();

    double dblRatio = 0;   // height / width of the loaded picture
    int intNum = -1;       // the window's slot
    bool blnLoadOK = true; // false when the file is no picture we can read

    QToolButton* cmdBig = nullptr;
    QToolButton* cmdSmall = nullptr;
    QToolButton* cmdFrmSize = nullptr;
    QCheckBox* chkTop = nullptr;
    ViewingArea* picBack = nullptr;
    StretchImage* ImgMain = nullptr; // lives in picBack
    QScrollBar* hscChange = nullptr;
    QScrollBar* vscChange = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void zoom(QToolButton* pressed, double factor);
};
