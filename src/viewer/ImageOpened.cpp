// The main window's part in viewers: opening an image in a viewer window of
// its own, in the lowest free viewer slot, and the file list's double click.
#include "app/frmMain.h"

#include "app/mdlSt.h"
#include "platform/FileList.h"
#include "platform/Volumes.h"
#include "viewer/ViewerSlots.h"
#include "viewer/frmOpenPreview.h"

void frmMain::ImageOpened(const QString& Path) {
    using namespace mdlSt;
    const int i = TakeViewerSlot(blnViewerUsed, frmViewer);
    strWorkPath = Path;
    auto* viewer = new frmOpenPreview();
    frmViewer[i] = viewer;
    viewer->Form_Load();
    // A file that is no picture gets no window on the screen: it closes in
    // GetNumber right after its message.
    if (viewer->blnLoadOK) {
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    }
    viewer->GetNumber(i);
}

void frmMain::flbSelect_DblClick() {
    const QString name = flbSelect->FileName();
    if (name.isEmpty())
        return;
    mdlSt::strWorkPath = JoinPath(flbSelect->Path(), name);
    ImageOpened(mdlSt::strWorkPath);
}
