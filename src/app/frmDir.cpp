#include "app/frmDir.h"

#include "app/DriveChange.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/FileList.h"
#include "platform/FormText.h"
#include "platform/Screen.h"
#include "platform/Volumes.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QPushButton>

frmDir::frmDir(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("フォルダー指定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixelsX(3735), TwipsToPixelsY(2895));

    drvCSelect = new DriveList(this);
    drvCSelect->setGeometry(TwipsToPixels(120, 120, 1815, 300));
    dirCSelect = new DirList(this);
    dirCSelect->setVolumeRoots(drvCSelect->volumes());
    dirCSelect->setGeometry(TwipsToPixels(120, 480, 1815, 1770));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(TwipsToPixels(240, 2400, 1455, 375));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(TwipsToPixels(2040, 2400, 1455, 375));
    flbCSelect = new FileList(this);
    flbCSelect->setGeometry(TwipsToPixels(2040, 120, 1575, 2070));
    flbCSelect->setPattern(QStringLiteral("*.jpg;*.bmp;*.gif;*.ico"));
    flbCSelect->setShowHidden(mdlSt::sngSetting[mdlSt::SlotAttributeMask] == 2);
    setTabOrder(drvCSelect, dirCSelect);
    setTabOrder(dirCSelect, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, flbCSelect);

    connect(drvCSelect, &DriveList::Change, this,
            [this] { FollowDriveChange(*drvCSelect, *dirCSelect); });
    connect(dirCSelect, &DirList::Change, this, [this] {
        drvCSelect->rememberFolder(dirCSelect->Path());
        flbCSelect->setPath(dirCSelect->Path());
    });
    connect(drvCSelect, &DriveList::VolumesChanged, this, [this] {
        if (FollowVolumeChange(*drvCSelect, *dirCSelect))
            flbCSelect->Refresh();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmDir::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDir::cmdCancel_Click);
    FitFormTexts(*this);
    Form_Load();
}

void frmDir::Form_Load() {
    PlaceAtPointer(*this);
    // A starting folder that is gone opens its nearest existing ancestor.
    QString start = CleanFolderPath(mdlSt::strDestPath);
    while (!start.isEmpty() && start != QLatin1String("/") && !QFileInfo(start).isDir())
        start = CleanFolderPath(QFileInfo(start).path());
    if (start.isEmpty())
        start = QStringLiteral("/");
    drvCSelect->setDrive(start);
    dirCSelect->setPath(start);
}

void frmDir::cmdOk_Click() {
    mdlSt::strDestPath = dirCSelect->Path();
    m_byButton = true;
    accept();
}

void frmDir::cmdCancel_Click() {
    mdlSt::strDestPath.clear();
    m_byButton = true;
    QDialog::reject();
}

void frmDir::reject() {
    cmdCancel_Click();
}

void frmDir::closeEvent(QCloseEvent* event) {
    if (!m_byButton)
        mdlSt::strDestPath.clear();
    QDialog::closeEvent(event);
}
