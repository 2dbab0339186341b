#pragma once

#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>

class DirList;
class DriveList;
class FileList;
class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QToolButton;
class QWidget;
class HelpWindow;
class frmPreview;

// The height a folder list of that many pixels really takes: whole rows inside
// its frame, never below the minimum.
int SnapToRows(int height, int rowHeight, int frame, int minimum);

// The main window: a frame whose client area holds the thumbnail windows, with
// the tool bar and the status bar across the top and the control panel (folder
// list above the file list) along the left edge.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs its start-up (MDIForm_Load).
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one main window of the run, or null.
    static frmMain* instance();

    void PanelEnabled(bool enabled);
    void CommandEnabled(int count);

    // Opens an image file in a new viewer window.
    void ImageOpened(const QString& Path);
    // The argument of the command line: a folder opens in the panel; a
    // picture opens its folder there and itself in a viewer; anything else
    // is refused with a message.
    void OpenArgument(const QString& argument);
    // Opens a folder in the panel; one that cannot be opened is told and
    // leaves the panel as it was.
    bool PanelOpen(const QString& folder);
    void flbSelect_DblClick();

    // The assembled background: the tile repeated over a surface one tile
    // larger than the screen in each direction.
    static QImage AssembleBackground(const QImage& tile, QSize screenPixels);
    // The caption of a history item: " 1 " and the last 26 characters.
    static QString HistoryCaption(int index, const QString& path);

    // Tool bar.
    QWidget* picToolbar = nullptr;
    DriveList* drvSelect = nullptr;
    QToolButton* cmdSam = nullptr;
    QToolButton* cmdMakeFolder = nullptr;
    QToolButton* cmdClose = nullptr;
    QToolButton* cmdPanic = nullptr;
    QToolButton* cmdAllSelect = nullptr;
    QToolButton* cmdOpen = nullptr;
    QToolButton* cmdReNameSingle = nullptr;
    QToolButton* cmdCopy = nullptr;
    QToolButton* cmdMove = nullptr;
    QToolButton* cmdDelete = nullptr;
    QToolButton* cmdReName = nullptr;
    std::array<QComboBox*, 2> cmbDot{};
    QLabel* imgDust = nullptr;

    // Status bar and panel.
    QWidget* picStatus = nullptr;
    QLabel* lblCount = nullptr;
    QSplitter* picSelect = nullptr;
    DirList* dirSelect = nullptr;
    FileList* flbSelect = nullptr;
    QSplitter* frame = nullptr;
    QMdiArea* mdiArea = nullptr;
    QImage picBack1; // the background tile
    // The thumbnail windows by slot; a closed window leaves its entry empty.
    QList<QPointer<frmPreview>> frmPre;

    // Menus. Control arrays are indexed as their items: mnuMove and mnuChange
    // by operation code, mnuWinArrange 0, 1, 2 and 4.
    QMenu* mnuFile = nullptr;
    QAction* mnuPicOpen = nullptr;
    QAction* mnuThum = nullptr;
    QAction* mnuClo = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuMakeFolder = nullptr;
    QAction* mnuFolderDelete = nullptr;
    QAction* mnuH3 = nullptr;
    std::array<QAction*, 10> mnuDir{};
    QAction* mnuH5 = nullptr;
    QAction* mnuEnd = nullptr;
    QMenu* mnuHensyuu = nullptr;
    QAction* mnuAllSelect = nullptr;
    std::array<QAction*, 11> mnuMove{};
    QMenu* mnuOp = nullptr;
    std::array<QAction*, 2> mnuOption{};
    QAction* mnuPathMenuDelete = nullptr;
    QMenu* mnuWin = nullptr;
    std::array<QAction*, 5> mnuWinArrange{};
    QMenu* mnuHel = nullptr;
    std::array<QAction*, 1> mnuHelp{};
    QAction* mnuVer = nullptr;
    QMenu* mnuPop = nullptr;
    std::array<QAction*, 11> mnuChange{};

    // Handlers.
    void mnuEnd_Click();
    void drvSelect_Change();
    void dirSelect_Change();
    void mnuDir_Click(int index);
    void mnuPathMenuDelete_Click();
    void mnuOption_Click(int index);
    void cmbDot_Click(int index);
    void cmdSam_Click();
    void cmdClose_Click();
    void cmdPanic_Click();
    void cmdAllSelect_Click();
    void mnuWinArrange_Click(int index);
    void mnuHelp_Click(int index);
    void mnuVer_Click();
    void cmdMakeFolder_Click();
    void mnuFolderDelete_Click();

    // The file operations: every file command ends here. Works on the
    // selected files of the thumbnail window in mdlSt::intActiveWin, as
    // mdlSt::bytOperation says; strDirPath2 is the destination folder.
    void CopyAndMove(const QString& strDirPath2);
    // Whether CopyAndMove is running: the file commands and the drop targets
    // are disabled meanwhile.
    bool isOperating() const { return m_operating; }
    void cmdOpen_Click();
    void cmdReNameSingle_Click();
    void cmdCopy_Click();
    void cmdMove_Click();
    void cmdDelete_Click();
    void cmdReName_Click();
    void mnuMove_Click(int Index);
    void mnuChange_Click(int Index);
    void imgDust_DragDrop();
    void dirSelect_DragDrop();
    // The panel's file list read again, with its count line.
    void PanelRefresh();

    // The help file in the program's folder.
    static QString HelpFilePath();
    HelpWindow* helpWindow() const { return m_help; }

    void HistoryAdd(const QString& path);
    void HistoryMenu();

signals:
    // The frame was closed and the settings written: the program ends.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildToolbar();
    void buildPanel();
    void buildMenus();
    void connectThumbnails();
    void childActivated(QMdiSubWindow* w);
    // Activates the thumbnail window step places after the active one in the
    // window list (before it for a negative step), wrapping around.
    void stepThumbnailWindow(int step);
    void connectFileCommands();
    void menuOperation(int index, bool winNum);
    void cancelSelection();
    void MDIForm_Load();
    void MDIForm_QueryUnload();
    void SettingApply();
    void PaintBackground();
    void showCount();
    void folderOpenFailed(const QString& path);
    void volumesChanged();

    void fillWindowMenu();
    QSplitter* newPanel();
    void setupLayout();
    void panelResized();
    void snapFolderList();

    QList<QAction*> m_windowItems;
    int m_split = 144; // the split between the two lists, before snapping to rows
    HelpWindow* m_help = nullptr;
    bool m_operating = false;
    // The thumbnail window that was last activated.
    QPointer<QMdiSubWindow> m_activatedChild;
};
