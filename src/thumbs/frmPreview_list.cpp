// Listing a folder and loading its thumbnails. The pictures are decoded ahead
// on worker threads; the window takes them strictly in listing order, shows
// the progress text for each file and places each thumbnail as it comes.
#include "thumbs/frmPreview.h"

#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/Files.h"
#include "platform/MsgBox.h"
#include "platform/Volumes.h"
#include "thumbs/ThumbDecoder.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/ThumbWidgets.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>

bool frmPreview::ListPre(const QString& strPath) {
    mdlSt::PanelEnabled(false);
    mdlSt::CommandEnabled(0);
    frmMain* f = frmMain::instance();
    // The focus leaves the window for the main window's client area, not for
    // another thumbnail window, which the frame would activate when it
    // regains the activation from a message box shown during the listing.
    if (f)
        f->mdiArea->setFocus();
    setEnabled(false);
    if (f)
        f->setCursor(Qt::WaitCursor);
    ++m_loading;
    ++s_listings;
    strFiles.clear();
    blnSelected.clear();
    unloadElements();
    intFileCount = 0;
    m_listing = true;
    setCanvasSize(picPreview->width(), canvasHeight(0));
    QCoreApplication::processEvents();
    const bool listed = m_closed || ListFiles(strPath);
    m_listing = false;
    if (!m_closed)
        txtPath->setText(strPath);
    if (f)
        f->unsetCursor();
    setEnabled(true);
    --s_listings;
    --m_loading;
    mdlSt::PanelEnabled(true);
    if (m_closed)
        deleteLater();
    return listed;
}

bool frmPreview::ListFiles(const QString& path) {
    intFileCount = 0;
    blnAllShown = true;
    const DirListing listing = DirEnumerate(path, mdlSt::AttributeMask());
    if (listing.status != FsStatus::Ok) {
        MsgBox(QStringLiteral("フォルダーを開けませんでした。\n") + path,
               Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
        return false;
    }
    QStringList names;
    for (const QString& name : listing.names) {
        if (!IsImageName(name))
            continue;
        names.append(name);
        ++intFileCount;
        if (intFileCount >= MaxEntries) {
            intFileCount = MaxEntries;
            MsgBox(QStringLiteral("ファイルが255個以上あります。"), Msg::OkOnly | Msg::Exclamation,
                   QStringLiteral("注意"));
            break;
        }
    }
    QStringList paths;
    for (const QString& name : names)
        paths.append(JoinPath(mdlSt::strCurrentPath, name));
    // Decoded for the screen the window is on: sharp at any device pixel ratio.
    m_ahead = std::make_unique<ThumbDecoder>(paths, QSize(intPicWidth, intPicHeight),
                                             devicePixelRatioF());
    int n = 0;
    for (int i = 0; i < names.size() && !m_closed; ++i) {
        if (!LoadThumb(names[i], i))
            continue;
        PlaceThumb(i, n, true);
        ++n;
        QCoreApplication::processEvents();
    }
    m_ahead.reset();
    if (m_closed)
        return true;
    // The canvas takes its final height, which may be lower than the viewport.
    m_listing = false;
    fitCanvasToGrid();
    if (!blnAllShown)
        MsgBox(QStringLiteral("画像の一部が表示出来ませんでした"), Msg::OkOnly | Msg::Exclamation,
               QStringLiteral("注意"));
    return true;
}

bool frmPreview::LoadThumb(const QString& name, int i) {
    ensureElement(i + 1);
    while (strFiles.size() <= i) {
        strFiles.append(QString());
        blnSelected.append(false);
    }
    txtPath->setText(ProgressText(i, name));
    strFiles[i] = JoinPath(mdlSt::strCurrentPath, name);
    blnSelected[i] = false;

    const auto stop = [this] { return m_closed; };
    Thumb t;
    if (m_ahead && m_ahead->path(i) == strFiles[i]) {
        t = m_ahead->take(i, stop);
    } else {
        ThumbDecoder one(QStringList{strFiles[i]}, QSize(intPicWidth, intPicHeight),
                         devicePixelRatioF());
        t = one.take(0, stop);
    }
    QCoreApplication::processEvents();
    if (m_closed)
        return false;

    ThumbLabel* label = lblName[i];
    if (t.status != FsStatus::Ok || t.image.isNull()) {
        // Whatever the failure, the entry stays hidden and the user is told
        // at the end of the listing.
        label->clear();
        blnAllShown = false;
        return false;
    }
    ThumbBox* box = picPre1[i];
    box->resize(t.fit.box);
    box->move(box->x(), intPicHeight * i);
    box->setPicture(QPixmap::fromImage(std::move(t.image)));
    box->show();
    label->setText(name);
    label->setToolTip(name);
    label->show();
    return true;
}

void frmPreview::AddImage(const QString& strFilePath) {
    ++m_loading;
    LoadThumb(strFilePath, intFileCount);
    --m_loading;
    if (m_closed) {
        deleteLater();
        return;
    }
    ++intFileCount;
    // The new box still has its provisional top, so the canvas grows by more
    // than the grid needs until the next resize of the window.
    fitCanvasToGrid();
}
