#include "ThumbTestKit.h"

#include "ImageFiles.h"

#include "platform/DirList.h"
#include "thumbs/PngText.h"
#include "thumbs/ThumbWidgets.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QMdiArea>
#include <QToolButton>
#include <QtTest>

QString WritePicture(const QString& folder, const QString& name, QSize size, const char* format,
                     QColor colour) {
    QDir().mkpath(folder);
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = QDir(folder).filePath(name);
    QImageWriter writer(path, format);
    if (!writer.write(img))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString WriteCameraPicture(const QString& folder, const QString& name, QSize size, QColor colour,
                           const QImage& preview) {
    QDir().mkpath(folder);
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.write(WithExif(Jpeg(img), 1, Jpeg(preview))))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void WritePictures(const QString& folder, int count, QSize size) {
    for (int i = 0; i < count; ++i)
        WritePicture(folder, QStringLiteral("img%1.bmp").arg(i, 3, 10, QLatin1Char('0')), size);
}

QString Backdate(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000),
                                                        QFileDevice::FileModificationTime))
        qFatal("cannot date %s", qPrintable(path));
    return path;
}

QString ThumbnailCache() {
    return qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails";
}

QByteArray ThumbnailPng(QSize size, QColor colour, const QList<QPair<QByteArray, QByteArray>>& tags,
                        const FileStamp& file) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    img.setText("Thumb::URI", QString::fromLatin1(file.uri));
    img.setText("Thumb::MTime", QString::number(file.mtime));
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    QImageWriter(&out, "png").write(img);
    return tags.isEmpty() ? png : WithPngText(png, tags);
}

frmPreview* OpenThumbnails(frmMain& f, const QString& folder) {
    if (!f.isVisible())
        f.show();
    if (f.dirSelect->setPath(folder) != FsStatus::Ok)
        return nullptr;
    const int before = int(f.mdiArea->subWindowList().size());
    f.cmdSam->click();
    const QList<QMdiSubWindow*> windows = f.mdiArea->subWindowList();
    if (windows.size() <= before)
        return qobject_cast<frmPreview*>(f.mdiArea->currentSubWindow());
    return qobject_cast<frmPreview*>(windows.last());
}

QList<int> ShownEntries(const frmPreview& w) {
    QList<int> out;
    for (int i = 0; i < w.intFileCount; ++i)
        if (!w.lblName[i]->text().isEmpty())
            out.append(i);
    return out;
}

void ChooseBoxSize(frmMain& f, const QString& entry) {
    for (QComboBox* c : f.cmbDot)
        c->setCurrentIndex(c->findText(entry));
}
