// Copying, moving and deleting the selected files. A move is a checked copy
// followed by deleting the source; the source goes only once its copy is
// complete on disk. A symbolic link is moved and deleted as a link. The
// shared thumbnail cache forgets each file that has left its path.
#include "fileops/FileOperation.h"

#include "app/PathRules.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "fileops/FileStep.h"
#include "platform/FileOps.h"
#include "thumbs/CacheFiles.h"
#include "thumbs/frmPreview.h"

#include <QLineEdit>

using namespace mdlSt;

bool FileOperation::copyIn(const QString& file, bool forMove) {
    strWorkName = GetLastPart(file, QLatin1Char('/'));
    if (!collisionGate(m_dest))
        return false;
    const QString target = m_dest + strWorkName;
    return RunFileStep(
        [&] { return forMove ? CopyForMove(file, target) : CopyFileSafe(file, target); });
}

void FileOperation::opCopy() {
    const int destSlot = WinSearch(m_dirPath2);
    for (const QString& file : std::as_const(m_files))
        if (copyIn(file, false))
            arrived(destSlot, strWorkName);
    clearSelection();
    eraseLists();
    panelRefresh();
}

void FileOperation::opMove() {
    const int destSlot = WinSearch(m_dirPath2);
    for (int i = 0; i < m_files.size(); ++i) {
        const QString& file = m_files[i];
        if (!readOnlyGate(i) || !copyIn(file, true))
            continue;
        if (!RunFileStep([&] { return DeleteFileSafe(file); }))
            continue;
        ForgetThumbnails(file);
        blank(m_indexes.value(i, -1));
        arrived(destSlot, strWorkName);
    }
    relayout();
    clearSelection();
    panelRefresh();
    eraseLists();
}

void FileOperation::opDelete() {
    for (int i = 0; i < m_files.size(); ++i) {
        const QString& file = m_files[i];
        if (!readOnlyGate(i))
            continue;
        if (!RunFileStep([&] { return DeleteFileSafe(file); }))
            continue;
        ForgetThumbnails(file);
        blank(m_indexes.value(i, -1));
    }
    relayout();
    clearSelection();
    panelRefresh();
    eraseLists();
}

void FileOperation::arrived(int slot, const QString& name) {
    if (slot < 0 || slot >= m_main.frmPre.size())
        return;
    QPointer<frmPreview> w = m_main.frmPre[slot];
    if (!w || w->isClosed())
        return;
    strCurrentPath = w->txtPath->text();
    w->AddImage(GetLastPart(m_dest + name, QLatin1Char('/')));
    // The window's folder back in place of the progress text.
    if (w && !w->isClosed())
        w->txtPath->setText(strCurrentPath);
}
