#include "app/Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#ifndef PIKSOR_DATA_FROM_BIN
#error "PIKSOR_DATA_FROM_BIN: the data folder relative to the program's, set by the build"
#endif

QString InstalledDataFolder(const QString& programFolder) {
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(PIKSOR_DATA_FROM_BIN)));
}

QString FindHelpFile(const QString& programFolder) {
    const QString name = QStringLiteral("Piksor.HLP");
    const QString beside = QDir(programFolder).filePath(name);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed = InstalledDataFolder(programFolder) + '/' + name;
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}

namespace {
QTranslator*& installedTranslator() {
    static QTranslator* translator = nullptr;
    return translator;
}
} // namespace

bool LoadPlatformTranslation(const QString& folder) {
    QTranslator*& current = installedTranslator();
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
        current = nullptr;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    current = translator;
    return true;
}

bool LoadPlatformTranslation() {
    return LoadPlatformTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void SetUpDesktop() {
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopFileName));
    LoadPlatformTranslation();
}

QByteArray ChooseQtPlatform(const QByteArray& chosen, const QByteArray& display,
                            const QByteArray& waylandDisplay) {
    if (!chosen.isEmpty())
        return QByteArray();
    if (!display.isEmpty())
        return QByteArrayLiteral("xcb");
    if (!waylandDisplay.isEmpty())
        return QByteArrayLiteral("wayland");
    return QByteArray();
}

void ChooseQtPlatform() {
    const QByteArray platform = ChooseQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"),
                                                 qgetenv("WAYLAND_DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}
