// The frame of every file operation: its entry checks, the dispatch, the two
// gates, opening and the two renames, and the closing steps.
#include "fileops/FileOperation.h"

#include "app/PathRules.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "fileops/FileStep.h"
#include "fileops/frmFileMove.h"
#include "fileops/frmReadOnly.h"
#include "platform/FileOps.h"
#include "platform/Files.h"
#include "platform/FolderEntries.h"
#include "platform/MsgBox.h"
#include "platform/ShowModal.h"
#include "platform/Volumes.h"
#include "rename/NamingRules.h"
#include "rename/frmNameInput.h"
#include "rename/frmNameInputSingle.h"
#include "rename/frmReName.h"
#include "thumbs/CacheFiles.h"
#include "thumbs/ThumbWidgets.h"
#include "thumbs/frmPreview.h"

#include <QLineEdit>

using namespace mdlSt;

FileOperation::FileOperation(frmMain& main) : m_main(main) {
    m_files = strSelectFiles;
    m_indexes = intSelectIndex;
    if (intActiveWin >= 0 && intActiveWin < m_main.frmPre.size())
        m_source = m_main.frmPre[intActiveWin];
}

void FileOperation::run(const QString& strDirPath2) {
    m_dirPath2 = strDirPath2;
    if (strDestPath.isEmpty()) {
        // The caller's question was cancelled.
        clearSelection();
        panelRefresh();
        eraseLists();
        return;
    }
    strWorkName.clear();
    strWorkPath.clear();
    sngSetting[SlotIgnoreAllReadOnly] = 0;
    // Without the window the files were selected in, nothing is known of
    // where they are shown: no file is touched.
    if (!m_source || m_source->isClosed()) {
        fallback();
        return;
    }
    m_dest = WithTrailingSlash(m_dirPath2);
    const int op = bytOperation;
    if (op != OpOpen && op != OpRenameOne && op != OpDelete && op != OpRenameAll &&
        m_source->txtPath->text() == m_dirPath2) {
        MsgBox(QStringLiteral("送り側と受け側が同じです。"), Msg::OkOnly | Msg::Critical,
               QStringLiteral("警告"));
        clearSelection();
        eraseLists();
        return;
    }
    if (bytOperation == OpAsk) {
        frmFileMove dialog(&m_main);
        ShowModal(dialog);
    }
    switch (bytOperation) {
    case OpCopy:
        opCopy();
        break;
    case OpMove:
        opMove();
        break;
    case OpDelete:
        opDelete();
        break;
    case OpOpen:
        opOpen();
        break;
    case OpRenameAll:
        opRenameAll();
        break;
    case OpRenameOne:
        opRenameOne();
        break;
    default:
        fallback();
        break;
    }
    sngSetting[SlotIgnoreAllReadOnly] = 0;
}

bool FileOperation::readOnlyGate(int i) {
    const QString& file = m_files[i];
    strWorkPath = m_source ? WithTrailingSlash(m_source->txtPath->text()) : QString();
    strWorkName = GetLastPart(file, QLatin1Char('/'));
    if (!IsReadOnly(file))
        return true;
    if (sngSetting[SlotAutoClearReadOnly] != 0 || sngSetting[SlotIgnoreAllReadOnly] != 0) {
        if (!RunFileStep([&file] { return ClearAttributes(file); }))
            strWorkName.clear();
    } else {
        frmReadOnly dialog(file, &m_main);
        ShowModal(dialog);
    }
    return !strWorkName.isEmpty();
}

bool FileOperation::collisionGate(const QString& folder) {
    strWorkPath = folder;
    if (NameExists(folder, strWorkName, AttributeMask())) {
        frmNameInput dialog(&m_main);
        ShowModal(dialog);
    }
    return !strWorkName.isEmpty();
}

void FileOperation::opOpen() {
    for (const QString& file : std::as_const(m_files))
        m_main.ImageOpened(file);
    clearSelection();
    panelRefresh();
    eraseLists();
}

void FileOperation::opRenameAll() {
    const QString folder = m_source->txtPath->text();
    strReNameBase = GetLastPart(folder, QLatin1Char('/'));
    intReNameStart = 1;
    intReNameStep = 1;
    bytNumberDigits = 3;
    const QString dest = WithTrailingSlash(folder);
    int k = 0;
    {
        frmReName dialog(&m_main);
        ShowModal(dialog);
    }
    if (!strReNameBase.isEmpty()) {
        for (int i = 0; i < m_files.size(); ++i) {
            if (!readOnlyGate(i))
                continue;
            strWorkName = BatchName(strReNameBase, intReNameStart, intReNameStep, bytNumberDigits,
                                    k, m_files[i]);
            if (!collisionGate(dest))
                continue;
            const QString target = dest + strWorkName;
            const QString& file = m_files[i];
            if (!RunFileStep([&] { return RenameFileSafe(file, target); }))
                continue;
            ForgetThumbnails(file);
            renamed(m_indexes.value(i, -1), strWorkName, target);
            ++k;
        }
    }
    relayout();
    clearSelection();
    panelRefresh();
    eraseLists();
}

void FileOperation::opRenameOne() {
    if (!m_files.isEmpty() && readOnlyGate(0)) {
        frmNameInputSingle dialog(&m_main);
        ShowModal(dialog);
        if (!strWorkName.isEmpty()) {
            const QString target = strWorkPath + strWorkName;
            const QString& file = m_files[0];
            if (RunFileStep([&] { return RenameFileSafe(file, target); })) {
                ForgetThumbnails(file);
                renamed(m_indexes.value(0, -1), strWorkName, target);
            }
        }
    }
    relayout();
    clearSelection();
    panelRefresh();
    eraseLists();
}

void FileOperation::fallback() {
    clearSelection();
    eraseLists();
}

void FileOperation::blank(int n) {
    if (!m_source || n < 0 || n >= m_source->lblName.size())
        return;
    m_source->lblName[n]->clear();
    m_source->lblName[n]->setToolTip(QString());
    m_source->picPre1[n]->clearPicture();
}

void FileOperation::renamed(int n, const QString& name, const QString& path) {
    if (!m_source || n < 0 || n >= m_source->lblName.size())
        return;
    m_source->lblName[n]->setText(name);
    m_source->lblName[n]->setToolTip(name);
    m_source->ReName(n, path);
}

void FileOperation::relayout() {
    if (m_source && !m_source->isClosed())
        m_source->PicPosiChange();
}

void FileOperation::clearSelection() {
    if (m_source && !m_source->isClosed())
        m_source->SelectFileClear();
}

void FileOperation::panelRefresh() {
    m_main.PanelRefresh();
}

void FileOperation::eraseLists() {
    strSelectFiles.clear();
    intSelectIndex.clear();
    CommandEnabled(0);
}
