// The folder panel: drive and folder changes, the file count line, the
// settings applied at start-up, the history menu and the option items.
#include "app/frmMain.h"

#include "app/DriveChange.h"
#include "app/PathRules.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/FileList.h"
#include "platform/Files.h"
#include "platform/MsgBox.h"
#include "platform/Volumes.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <cmath>

namespace {
void tellDiskNotSet() {
    MsgBox(QStringLiteral("ディスクがセットされていません。"), Msg::OkOnly | Msg::Critical,
           QStringLiteral("警告"));
}

// The entry of a size list for a saved index; an index outside the list takes
// the default entry "64".
int sizeListIndex(float saved, int count) {
    const int index = int(std::nearbyint(saved));
    return (index >= 0 && index < count) ? index : 2;
}
} // namespace

void frmMain::showCount() {
    lblCount->setText(CountLine(flbSelect->Path(), flbSelect->ListCount()));
    lblCount->adjustSize();
}

void frmMain::SettingApply() {
    using namespace mdlSt;
    // A missing path, a path that names a file, or a folder that cannot be
    // opened any more: start in the start folder.
    if (strCurrentPath.isEmpty() || DirExists(strCurrentPath, AttributeMask()) ||
        CheckFolder(strCurrentPath, drvSelect->volumes()) != FsStatus::Ok)
        strCurrentPath = StartFolder();
    // The drive change below moves the folder list; keep the folder to open.
    const QString start = strCurrentPath;
    drvSelect->setDrive(start);
    if (dirSelect->setPath(start) != FsStatus::Ok) {
        strCurrentPath = StartFolder();
        drvSelect->setDrive(strCurrentPath);
        dirSelect->setPath(strCurrentPath);
    }
    flbSelect->setShowHidden(sngSetting[SlotAttributeMask] == 2);
    // The count line counts what the file list shows, hidden files included.
    showCount();
    cmbDot[0]->setCurrentIndex(sizeListIndex(sngSetting[SlotWidthIndex], cmbDot[0]->count()));
    cmbDot[1]->setCurrentIndex(sizeListIndex(sngSetting[SlotHeightIndex], cmbDot[1]->count()));
    mnuOption[0]->setChecked(sngSetting[SlotAttributeMask] != 0);
    mnuOption[1]->setChecked(sngSetting[SlotAutoClearReadOnly] != 0);
}

void frmMain::drvSelect_Change() {
    FollowDriveChange(*drvSelect, *dirSelect);
}

void frmMain::dirSelect_Change() {
    mdlSt::strCurrentPath = dirSelect->Path();
    drvSelect->rememberFolder(dirSelect->Path());
    flbSelect->setPath(dirSelect->Path());
    showCount();
}

void frmMain::volumesChanged() {
    // A folder that went with its volume moves the panel through Change.
    if (FollowVolumeChange(*drvSelect, *dirSelect))
        PanelRefresh();
}

void frmMain::folderOpenFailed(const QString& path) {
    MsgBox(QStringLiteral("フォルダーを開けませんでした。\n") + path, Msg::OkOnly | Msg::Critical,
           QStringLiteral("警告"));
}

QString frmMain::HistoryCaption(int index, const QString& path) {
    return QLatin1Char(' ') + QString::number(index + 1) + QLatin1Char(' ') + path.right(26);
}

void frmMain::HistoryAdd(const QString& path) {
    auto& h = mdlSt::strHistory;
    for (const QString& entry : h)
        if (entry == path)
            return;
    for (int i = 8; i >= 0; --i)
        h[i + 1] = h[i];
    h[0] = path;
}

void frmMain::HistoryMenu() {
    int empty = 0;
    for (int i = 0; i < 10; ++i) {
        const QString& entry = mdlSt::strHistory[i];
        if (entry.isEmpty()) {
            mnuDir[i]->setVisible(false);
            ++empty;
        } else {
            // The caption carries no access key: "&" is shown as it is.
            QString caption = HistoryCaption(i, entry);
            mnuDir[i]->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
            mnuDir[i]->setVisible(true);
        }
    }
    mnuH5->setVisible(empty != 10);
}

void frmMain::mnuDir_Click(int index) {
    const QString remembered = dirSelect->Path();
    const QString entry = mdlSt::strHistory[index];
    // A folder on a volume that is not there is not available, unlike a
    // folder that is gone from a volume that is there.
    FsStatus st = VolumeUnavailable(entry, drvSelect->volumes(), drvSelect->seenVolumes())
                      ? FsStatus::NotReady
                      : FsStatus::Ok;
    if (st == FsStatus::Ok) {
        if (!DirExists(entry, Attr::Directory))
            return;
        drvSelect->setDrive(entry);
        st = dirSelect->setPath(entry);
        if (st == FsStatus::Ok)
            return;
    }
    if (st == FsStatus::NotReady)
        tellDiskNotSet();
    dirSelect->setPath(remembered);
    drvSelect->setDrive(remembered);
}

void frmMain::mnuPathMenuDelete_Click() {
    for (QString& entry : mdlSt::strHistory)
        entry.clear();
    HistoryMenu();
}

void frmMain::mnuOption_Click(int index) {
    using namespace mdlSt;
    if (index == 0) {
        const bool show = sngSetting[SlotAttributeMask] == 0;
        sngSetting[SlotAttributeMask] = show ? 2 : 0;
        mnuOption[0]->setChecked(show);
        flbSelect->setShowHidden(show);
        flbSelect->Refresh();
        showCount();
    } else {
        const bool on = sngSetting[SlotAutoClearReadOnly] == 0;
        sngSetting[SlotAutoClearReadOnly] = on ? 1 : 0;
        mnuOption[1]->setChecked(on);
    }
}
