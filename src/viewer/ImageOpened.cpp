// The main window opens images in viewer windows, each in the lowest free
// viewer slot; the last slot is always kept free.
#include "app/frmMain.h"

#include "app/mdlSt.h"
#include "platform/FileList.h"
#include "platform/Volumes.h"
#include "viewer/frmOpenPreview.h"

void frmMain::ImageOpened(const QString& Path) {
    using namespace mdlSt;
    int i = 0;
    while (i < blnViewerUsed.size() && blnViewerUsed[i])
        ++i;
    if (i >= blnViewerUsed.size() - 1) {
        frmViewer.resize(i + 2);
        blnViewerUsed.resize(i + 2, false);
    }
    blnViewerUsed[i] = true;
    strWorkPath = Path;
    auto* viewer = new frmOpenPreview();
    frmViewer[i] = viewer;
    viewer->show();
    viewer->GetNumber(i);
}

void frmMain::flbSelect_DblClick() {
    const QString name = flbSelect->FileName();
    if (name.isEmpty())
        return;
    mdlSt::strWorkPath = JoinPath(flbSelect->Path(), name);
    ImageOpened(mdlSt::strWorkPath);
}
