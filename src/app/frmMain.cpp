#include "app/frmMain.h"

#include "app/mdlSt.h"
#include "platform/ButtonIcon.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/FileList.h"
#include "platform/Screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
frmMain* g_instance = nullptr;

// The tool bar: controls at fixed places, and two lines along its top edge in
// the colours of button shadows and of highlighted text.
class ToolbarBar : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(0, 0, width(), 0);
        p.setPen(palette().color(QPalette::HighlightedText));
        p.drawLine(0, 1, width(), 1);
    }
};

QToolButton* pictureButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip,
                           int leftTwips) {
    auto* b = new QToolButton(parent);
    b->setIcon(PictureButtonIcon(parent->style()->standardIcon(icon)));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(tip);
    b->setAutoRaise(false);
    b->setGeometry(TwipsToPixels(leftTwips, 45, 345, 345));
    return b;
}
} // namespace

frmMain* frmMain::instance() {
    return g_instance;
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    g_instance = this;
    setWindowTitle(QStringLiteral("Piksor"));
    picBack1.load(QStringLiteral(":/background.png"));
    // The program's own icon, the one its launcher shows.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/piksor-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildToolbar();
    column->addWidget(picToolbar);
    picStatus = new QWidget(central);
    picStatus->setFixedHeight(TwipsToPixelsY(255));
    lblCount = new QLabel(picStatus);
    lblCount->setGeometry(TwipsToPixels(0, 0, 630, 180));
    column->addWidget(picStatus);
    buildPanel();
    column->addWidget(frame, 1);
    setCentralWidget(central);
    buildMenus();
    connectThumbnails();
    connectFileCommands();

    resize(TwipsToPixelsX(10065), TwipsToPixelsY(7215) + menuBar()->sizeHint().height());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());

    MDIForm_Load();
}

frmMain::~frmMain() {
    if (g_instance == this)
        g_instance = nullptr;
}

void frmMain::buildToolbar() {
    picToolbar = new ToolbarBar(this);
    picToolbar->setFixedHeight(TwipsToPixelsY(400));

    drvSelect = new DriveList(picToolbar);
    drvSelect->setGeometry(TwipsToPixels(120, 60, 1095, 300));
    drvSelect->setToolTip(QStringLiteral("ドライブ選択"));

    cmdSam = pictureButton(picToolbar, QStyle::SP_FileDialogContentsView,
                           QStringLiteral("サムネイル表示"), 1440);
    cmdMakeFolder = pictureButton(picToolbar, QStyle::SP_FileDialogNewFolder,
                                  QStringLiteral("新しいﾌｫﾙﾀﾞｰの作成"), 2040);
    cmdClose = pictureButton(picToolbar, QStyle::SP_TitleBarCloseButton,
                             QStringLiteral("サムネイルを閉じる"), 2370);
    cmdPanic = pictureButton(picToolbar, QStyle::SP_DialogCloseButton,
                             QStringLiteral("全てのサムネイルを閉じる"), 2700);
    cmdAllSelect =
        pictureButton(picToolbar, QStyle::SP_DialogApplyButton, QStringLiteral("すべて選択"), 3240);
    cmdOpen =
        pictureButton(picToolbar, QStyle::SP_DialogOpenButton, QStringLiteral("画像を開く"), 3585);
    cmdReNameSingle = pictureButton(picToolbar, QStyle::SP_FileDialogDetailedView,
                                    QStringLiteral("ファイル名の変更"), 3930);
    cmdCopy = pictureButton(picToolbar, QStyle::SP_FileLinkIcon, QStringLiteral("コピー"), 4275);
    cmdMove = pictureButton(picToolbar, QStyle::SP_ArrowForward, QStringLiteral("移動"), 4620);
    cmdDelete = pictureButton(picToolbar, QStyle::SP_TrashIcon, QStringLiteral("削除"), 4965);
    cmdReName = pictureButton(picToolbar, QStyle::SP_FileDialogListView,
                              QStringLiteral("ファイル名の一括変換"), 5310);
    for (QToolButton* b : {cmdOpen, cmdReNameSingle, cmdCopy, cmdMove, cmdDelete, cmdReName})
        b->setEnabled(false);

    const QStringList sizes{QStringLiteral("16"),  QStringLiteral("32"),  QStringLiteral("64"),
                            QStringLiteral("128"), QStringLiteral("256"), QStringLiteral("E判")};
    const QString tips[2] = {QStringLiteral("横サイズ"), QStringLiteral("縦サイズ")};
    const int lefts[2] = {5880, 6600};
    for (int i = 0; i < 2; ++i) {
        auto* c = new QComboBox(picToolbar);
        c->addItems(sizes);
        c->setCurrentIndex(-1);
        c->setToolTip(tips[i]);
        c->setGeometry(TwipsToPixels(lefts[i], 75, 735, 300));
        connect(c, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (index >= 0)
                cmbDot_Click(i);
        });
        cmbDot[i] = c;
    }

    imgDust = new QLabel(picToolbar);
    imgDust->setGeometry(TwipsToPixels(7560, 60, 345, 345));
    imgDust->setPixmap(style()->standardIcon(QStyle::SP_TrashIcon).pixmap(imgDust->size()));
    imgDust->setToolTip(QStringLiteral("ごみ箱"));
}

void frmMain::buildPanel() {
    frame = new QSplitter(Qt::Horizontal, this);
    frame->setChildrenCollapsible(false);
    picSelect = newPanel();
    picSelect->setChildrenCollapsible(false);
    dirSelect = new DirList(picSelect);
    dirSelect->setVolumeRoots(drvSelect->volumes());
    flbSelect = new FileList(picSelect);
    flbSelect->setToolTip(QStringLiteral("ファイル一覧"));
    flbSelect->setPattern(QStringLiteral("*.jpg;*.bmp;*.gif;*.ico;*.cur;*.wmf"));
    mdiArea = new QMdiArea(frame);
    mdiArea->setBackground(palette().color(QPalette::Dark));
    frame->addWidget(picSelect);
    frame->addWidget(mdiArea);
    frame->setStretchFactor(1, 1);

    setupLayout();
    connect(drvSelect, &DriveList::Change, this, &frmMain::drvSelect_Change);
    connect(drvSelect, &DriveList::VolumesChanged, this, &frmMain::volumesChanged);
    connect(dirSelect, &DirList::Change, this, &frmMain::dirSelect_Change);
    connect(flbSelect, &FileList::DblClick, this, &frmMain::flbSelect_DblClick);
    connect(dirSelect, &DirList::openFailed, this, &frmMain::folderOpenFailed);
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto item = [](QMenu* menu, const QString& caption, QKeySequence key = {}) {
        QAction* a = menu->addAction(caption);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };

    mnuFile = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuPicOpen = item(mnuFile, QStringLiteral("画像を開く"));
    mnuPicOpen->setEnabled(false);
    mnuThum =
        item(mnuFile, QStringLiteral("サムネイルを開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFile->addSeparator();
    mnuClo = item(mnuFile, QStringLiteral("サムネイルを閉じる"));
    mnuClose = item(mnuFile, QStringLiteral("全てのサムネイルを閉じる"));
    mnuFile->addSeparator();
    mnuMakeFolder = item(mnuFile, QStringLiteral("フォルダーの作成"));
    mnuFolderDelete = item(mnuFile, QStringLiteral("フォルダーの削除"));
    connect(cmdMakeFolder, &QToolButton::clicked, this, &frmMain::cmdMakeFolder_Click);
    connect(mnuMakeFolder, &QAction::triggered, cmdMakeFolder, &QToolButton::click);
    connect(mnuFolderDelete, &QAction::triggered, this, &frmMain::mnuFolderDelete_Click);
    mnuH3 = mnuFile->addSeparator();
    for (int i = 0; i < 10; ++i) {
        mnuDir[i] = item(mnuFile, QString());
        mnuDir[i]->setVisible(false);
        connect(mnuDir[i], &QAction::triggered, this, [this, i] { mnuDir_Click(i); });
    }
    mnuH5 = mnuFile->addSeparator();
    mnuEnd = item(mnuFile, QStringLiteral("Piksorの終了(&X)"));
    connect(mnuEnd, &QAction::triggered, this, &frmMain::mnuEnd_Click);

    mnuHensyuu = bar->addMenu(QStringLiteral("編集(&E)"));
    mnuAllSelect =
        item(mnuHensyuu, QStringLiteral("すべて選択(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuHensyuu->addSeparator();
    mnuMove[6] =
        item(mnuHensyuu, QStringLiteral("ﾌｧｲﾙ名の変更(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuMove[7] = item(mnuHensyuu, QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuMove[8] = item(mnuHensyuu, QStringLiteral("移動(&M)"), QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuMove[9] = item(mnuHensyuu, QStringLiteral("削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuMove[10] = item(mnuHensyuu, QStringLiteral("ﾌｧｲﾙ名の一括変換"));
    for (int code = 6; code <= 10; ++code)
        mnuMove[code]->setEnabled(false);

    mnuOp = bar->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    mnuOption[0] = item(mnuOp, QStringLiteral("隠しﾌｧｲﾙも表示"));
    mnuOption[1] = item(mnuOp, QStringLiteral("読み取り専用属性を自動で解除"));
    for (int i = 0; i < 2; ++i) {
        mnuOption[i]->setCheckable(true);
        connect(mnuOption[i], &QAction::triggered, this, [this, i] { mnuOption_Click(i); });
    }
    mnuPathMenuDelete = item(mnuOp, QStringLiteral("サムネイル表示履歴の削除"));
    connect(mnuPathMenuDelete, &QAction::triggered, this, &frmMain::mnuPathMenuDelete_Click);

    mnuWin = bar->addMenu(QStringLiteral("ｳｨﾝﾄﾞｳ(&W)"));
    mnuWinArrange[0] = item(mnuWin, QStringLiteral("左右に並べて表示(&H)"));
    mnuWinArrange[1] = item(mnuWin, QStringLiteral("上下に並べて表示(&V)"));
    mnuWinArrange[2] = item(mnuWin, QStringLiteral("重ねて表示(&C)"));
    mnuWinArrange[4] = item(mnuWin, QStringLiteral("アイコンの整列(&A)"));
    for (int i : {0, 1, 2, 4})
        connect(mnuWinArrange[i], &QAction::triggered, this, [this, i] { mnuWinArrange_Click(i); });
    connect(mnuWin, &QMenu::aboutToShow, this, &frmMain::fillWindowMenu);

    mnuHel = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelp[0] = item(mnuHel, QStringLiteral("Piksorのﾍﾙﾌﾟ(&H)"));
    mnuHel->addSeparator();
    mnuVer = item(mnuHel, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
    connect(mnuHelp[0], &QAction::triggered, this, [this] { mnuHelp_Click(0); });
    connect(mnuVer, &QAction::triggered, this, &frmMain::mnuVer_Click);

    // The thumbnails' popup menu; never shown in the menu bar.
    mnuPop = new QMenu(QStringLiteral("ポップアップ"), this);
    mnuChange[1] = item(mnuPop, QStringLiteral("開く"));
    mnuChange[5] = mnuPop->addSeparator();
    mnuChange[6] = item(mnuPop, QStringLiteral("ﾌｧｲﾙ名の変更"));
    mnuChange[7] = item(mnuPop, QStringLiteral("ｺﾋﾟｰ"));
    mnuChange[8] = item(mnuPop, QStringLiteral("移動"));
    mnuChange[9] = item(mnuPop, QStringLiteral("削除"));
    mnuChange[10] = item(mnuPop, QStringLiteral("ﾌｧｲﾙ名の一括変換"));
}

void frmMain::MDIForm_Load() {
    mdlSt::intWinMax = 0;
    mdlSt::strWinPath = QStringList{QString()};
    mdlSt::IniRead();
    SettingApply();
    HistoryMenu();
    PaintBackground();
    mdlSt::frmViewer = QList<QPointer<QWidget>>{nullptr};
    mdlSt::blnViewerUsed = QList<bool>{false};
}

QImage frmMain::AssembleBackground(const QImage& tile, QSize screenPixels) {
    const int w = tile.width(), h = tile.height();
    if (w <= 0 || h <= 0)
        return QImage();
    const int nx = screenPixels.width() / w;
    const int ny = screenPixels.height() / h;
    QImage surface((nx + 1) * w, (ny + 1) * h, QImage::Format_RGB32);
    QPainter p(&surface);
    for (int r = 0; r <= ny; ++r)
        for (int c = 0; c <= nx; ++c)
            p.drawImage(c * w, r * h, tile);
    return surface;
}

void frmMain::PaintBackground() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const QImage surface = AssembleBackground(picBack1, size);
    if (!surface.isNull())
        mdiArea->setBackground(QBrush(QPixmap::fromImage(surface)));
}

void frmMain::PanelEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{drvSelect, dirSelect, flbSelect})
        w->setEnabled(enabled);
    mnuFile->setEnabled(enabled);
    mnuWin->setEnabled(enabled);
    cmdSam->setEnabled(enabled);
    mnuHensyuu->setEnabled(enabled);
    // The splitter handles follow the panel.
    for (int i = 1; i < frame->count(); ++i)
        frame->handle(i)->setEnabled(enabled);
    for (int i = 1; i < picSelect->count(); ++i)
        picSelect->handle(i)->setEnabled(enabled);
    mnuHel->setEnabled(enabled);
    cmbDot[0]->setEnabled(enabled);
    cmbDot[1]->setEnabled(enabled);
    cmdClose->setEnabled(enabled);
    cmdPanic->setEnabled(enabled);
    cmdMakeFolder->setEnabled(enabled);
    mnuOp->setEnabled(enabled);
    cmdAllSelect->setEnabled(enabled);
}

void frmMain::CommandEnabled(int count) {
    // While an operation runs, no other can start.
    if (m_operating)
        count = 0;
    for (int code : {mdlSt::OpCopy, mdlSt::OpMove, mdlSt::OpDelete})
        mnuChange[size_t(code)]->setEnabled(!m_operating);
    const bool some = count > 0;
    for (QToolButton* b : {cmdOpen, cmdReName, cmdCopy, cmdMove, cmdDelete})
        b->setEnabled(some);
    for (QAction* a :
         {mnuPicOpen, mnuChange[1], mnuChange[10], mnuMove[10], mnuMove[7], mnuMove[8], mnuMove[9]})
        a->setEnabled(some);
    const bool one = count == 1;
    cmdReNameSingle->setEnabled(one);
    mnuChange[6]->setEnabled(one);
    mnuMove[6]->setEnabled(one);
}

void frmMain::mnuEnd_Click() {
    close();
}

void frmMain::MDIForm_QueryUnload() {
    mdlSt::IniWrite();
    emit ended();
}

void frmMain::closeEvent(QCloseEvent* event) {
    MDIForm_QueryUnload();
    event->accept();
}
