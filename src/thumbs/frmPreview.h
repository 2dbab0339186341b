#pragma once

// A thumbnail window: one child window of the main window's client area that
// shows the pictures of one folder as boxes in a grid, each with its file name
// under it, and hands its selection to the file commands.
#include <QList>
#include <QMdiSubWindow>
#include <QStringList>
#include <memory>

class QKeyEvent;
class QLineEdit;
class QMimeData;
class QScrollBar;
class ThumbBox;
class ThumbDecoder;
class ThumbFocusFrame;
class ThumbLabel;
class ThumbViewport;
struct Thumb;

class frmPreview : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* parent = nullptr);
    ~frmPreview() override;

    // Lists the folder and loads all its thumbnails, replacing what the window
    // showed. False when the folder could not be listed (the window is then
    // empty and the user has been told).
    bool ListPre(const QString& strPath);
    // Lays out every shown entry in consecutive cells and sets the scroll range.
    void PicPosiChange();
    void SelectFileClear();
    // Appends an entry for a file (a name) of the folder mdlSt::strCurrentPath.
    void AddImage(const QString& strFilePath);
    void ReName(int Index, const QString& strName);
    void AllSelectFiles();
    void WinNum();
    void Form_Activate();

    // The slot this window holds in the main window's frmPre, or -1.
    int slot() const;
    // Whether a listing or an added image is being loaded.
    bool isLoading() const { return m_loading > 0; }
    // Whether boxes still show a camera's preview while their real thumbnails
    // are made behind the window.
    bool isFinishing() const { return m_behind || !m_standIns.isEmpty(); }
    // Whether the window has been closed (its slot is free).
    bool isClosed() const { return m_closed; }

    // What a drag of this window's selected labels carries (after gathering).
    QMimeData* DragData() const;

    // The entry the keys work on: the one last moved to or clicked; in a new
    // window the first shown one; when it is hidden, the shown entry that took
    // its place. -1 while no entry is shown.
    int CurrentEntry() const;

    // Controls. picPre1 and lblName are indexed by entry; element 0 exists
    // from the start, and one element more than the entries is kept ready.
    QWidget* client = nullptr;
    ThumbViewport* picPreview = nullptr;
    QWidget* picPre = nullptr;
    QScrollBar* vscScroll = nullptr;
    QLineEdit* txtPath = nullptr;
    QList<ThumbBox*> picPre1;
    QList<ThumbLabel*> lblName;
    // Around the current entry while the viewport has the keyboard focus.
    ThumbFocusFrame* focusFrame = nullptr;

    // Entries.
    int intFileCount = 0;
    QStringList strFiles;
    QList<bool> blnSelected;
    int intPicWidth = 0;
    int intPicHeight = 0;
    bool blnAllShown = true;

    // The label height of the design (255 twips).
    static constexpr int LabelHeight = 17;
    // The client size of the design (5205 × 3630 twips).
    static QSize DesignClientSize();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload();
    bool ListFiles(const QString& path);
    bool LoadThumb(const QString& name, int i);
    // Has the real thumbnails made of the entries that show a camera's
    // preview, those in view first, then the rest in listing order.
    void finishThumbnails();
    void realThumbnail(int k, Thumb t);
    void PlaceThumb(int k, int n, bool blnVisible);
    void picPre1_MouseDown(int Index, Qt::MouseButton Button, int Shift);
    // The left-button rules of a click on entry k with the key state given,
    // with the shared lists and the commands brought up to date.
    void selectByClick(int k, int Shift);
    void picPre1_DblClick(int Index);
    void lblName_MouseDown(int Index, Qt::MouseButton Button);
    void vscScroll_Change(int value);

    void ensureElement(int i);
    void unloadElements();
    void setCanvasSize(int width, int height);
    // A canvas height as wanted, but during a listing at least the viewport's,
    // so that every thumbnail in view shows the moment it is placed.
    int canvasHeight(int wanted) const;
    void fitCanvasToGrid();
    void updateScrollRange();
    void applyShownState(int i);
    bool counts(int i) const;
    int gatherSelection();
    void popupIfSelected(QPoint globalPos);
    void startDrag(int Index);

    // The keyboard (frmPreview_keys.cpp).
    bool viewportKeyPress(QKeyEvent* event);
    void moveCurrent(int target, Qt::KeyboardModifiers mods);
    void setCurrent(int k);
    // The entry's box area and label, in canvas pixels.
    QRect entryRect(int k) const;
    void placeFocusFrame();
    void scrollToCurrent();
    QList<int> shownEntries() const;

    // Listings running in any window: the layout leaves the panel disabled
    // while one runs.
    inline static int s_listings = 0;

    std::unique_ptr<ThumbDecoder> m_ahead;
    // Entries that show a camera's preview; those whose real thumbnails are
    // being made behind the window, by the decoder's order.
    QList<int> m_standIns;
    QList<int> m_finishing;
    int m_finished = 0;
    std::unique_ptr<ThumbDecoder> m_behind;
    int m_current = -1;
    int m_loading = 0;
    bool m_listing = false;
    bool m_closed = false;
    bool m_inLayout = false;
};
