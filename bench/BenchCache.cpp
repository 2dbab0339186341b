#include "BenchCache.h"

#include "thumbs/CacheRules.h"
#include "thumbs/ThumbRules.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

QString UseOwnThumbnailCache(const QString& folder) {
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folder));
    return ThumbnailCacheRoot(folder, QString());
}

void ClearThumbnailCache(const QString& root) {
    QDir(root).removeRecursively();
}

bool MakeForeignThumbnails(const QStringList& files, int box, const QString& stash) {
    const int square = CacheSizeFor(QSize(box, box)).pixels;
    QDir().mkpath(stash);
    std::atomic<int> next{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (int i = next++; i < files.size(); i = next++) {
            const QString path = QDir::cleanPath(QFileInfo(files[i]).absoluteFilePath());
            QImageReader reader(path);
            reader.setAutoTransform(true);
            reader.setScaledSize(FitBox(reader.size(), QSize(square, square)).box);
            QImage img = reader.read().convertToFormat(QImage::Format_RGB32);
            const QFileInfo info(path);
            const QByteArray uri = FileUri(path);
            img.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
            img.setText(QStringLiteral("Thumb::MTime"),
                        QString::number(info.lastModified().toSecsSinceEpoch()));
            img.setText(QStringLiteral("Thumb::Size"), QString::number(info.size()));
            img.setText(QStringLiteral("Software"), QStringLiteral("another program"));
            QImageWriter writer(QDir(stash).filePath(CacheFileName(uri)), "png");
            if (img.isNull() || !writer.write(img))
                ok = false;
        }
    };
    std::vector<std::thread> threads;
    for (int c = 0; c < std::max(1, QThread::idealThreadCount()); ++c)
        threads.emplace_back(work);
    for (std::thread& t : threads)
        t.join();
    return ok;
}

bool InstallThumbnails(const QString& stash, const QString& root, int box) {
    const QString folder = root + QLatin1Char('/') + CacheSizeFor(QSize(box, box)).folder;
    if (!QDir().mkpath(folder))
        return false;
    for (const QString& name : QDir(stash).entryList(QDir::Files))
        if (!QFile::copy(QDir(stash).filePath(name), QDir(folder).filePath(name)))
            return false;
    return true;
}
