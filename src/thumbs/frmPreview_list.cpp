// Listing a folder and loading its thumbnails. The pictures are decoded ahead
// on worker threads; the window takes them strictly in listing order, shows
// the progress text for each file and places each thumbnail as it comes. A
// photograph whose camera embedded a preview shows that preview at first;
// once the listing is over, the real thumbnails are made behind the window
// and each takes its preview's place.
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
#include <QMetaObject>

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
    m_behind.reset();
    m_standIns.clear();
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
                                             devicePixelRatioF(), ThumbDecoder::Pass::Listing);
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
    // Once the listing is over, the real thumbnails are made behind the window.
    QMetaObject::invokeMethod(this, &frmPreview::finishThumbnails, Qt::QueuedConnection);
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
    if (t.standIn)
        m_standIns.append(i);
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

void frmPreview::finishThumbnails() {
    // One pass at a time, never during a listing: whatever waits is taken up
    // when the pass or the listing ends.
    if (m_listing || m_behind || m_closed)
        return;
    m_finished = 0;
    m_finishing.clear();
    QList<int> later;
    const QRect view = picPreview->rect();
    for (const int i : std::as_const(m_standIns)) {
        if (i >= strFiles.size() || lblName[i]->text().isEmpty())
            continue; // gone meanwhile
        const bool inView = picPre1[i]->geometry().translated(picPre->pos()).intersects(view);
        (inView ? m_finishing : later).append(i);
    }
    m_standIns.clear();
    m_finishing += later;
    if (m_finishing.isEmpty())
        return;
    QStringList paths;
    for (const int i : std::as_const(m_finishing))
        paths.append(strFiles[i]);
    m_behind =
        std::make_unique<ThumbDecoder>(paths, QSize(intPicWidth, intPicHeight), devicePixelRatioF(),
                                       [this](int k, Thumb t) { realThumbnail(k, std::move(t)); });
}

void frmPreview::realThumbnail(int k, Thumb t) {
    const int i = m_finishing[k];
    // The entry still shows the preview of this very file: the real
    // thumbnail, of the same box, takes its place. A file renamed meanwhile
    // is made again under its new name; one moved or deleted shows nothing
    // any more; one whose picture cannot be decoded keeps its preview, so
    // that nothing moves.
    if (i < strFiles.size() && !lblName[i]->text().isEmpty()) {
        if (strFiles[i] != m_behind->path(k))
            m_standIns.append(i);
        else if (t.status == FsStatus::Ok && !t.image.isNull())
            picPre1[i]->setPicture(QPixmap::fromImage(std::move(t.image)));
    }
    if (++m_finished < m_finishing.size())
        return;
    m_behind.reset();
    finishThumbnails();
}
