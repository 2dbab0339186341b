#include "app/mdlSt.h"

#include "app/Desktop.h"
#include "app/Places.h"
#include "app/SettingsFile.h"
#include "app/frmMain.h"
#include "platform/Files.h"
#include "platform/MsgBox.h"
#include "platform/Volumes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mdlSt {

namespace {
QString& programFolderOverride() {
    static QString folder;
    return folder;
}

const QString FileName = QStringLiteral("PicSet.Ini");

ProgramPlace currentPlace() {
    ProgramPlace place;
    const QFileInfo folder(ProgramFolder());
    place.folder =
        folder.canonicalFilePath().isEmpty() ? ProgramFolder() : folder.canonicalFilePath();
    place.userMayWrite = folder.isWritable();
    place.dataBeside = QFileInfo(InstalledDataFolder(place.folder)).isDir();
    return place;
}

QString configHome() {
    return ConfigHome(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

// Where the rule puts the file.
QString primaryPath() {
    return WithTrailingSlash(SettingsFolder(currentPlace(), configHome())) + FileName;
}

// Where the file of a build folder goes when it cannot be written there.
QString fallbackPath() {
    return configHome() + QStringLiteral("/piksor/") + FileName;
}

bool primaryWritable() {
    const QFileInfo folder(QFileInfo(primaryPath()).path());
    const QFileInfo file(primaryPath());
    if (!folder.isDir() || !folder.isWritable())
        return false;
    return !file.exists() || (file.isFile() && file.isWritable());
}

Settings current() {
    Settings s;
    s.currentPath = strCurrentPath;
    s.numbers = sngSetting;
    s.history = strHistory;
    return s;
}

void applyDefaults(std::array<float, 41>& numbers) {
    numbers[SlotAutoClearReadOnly] = 1;
    numbers[SlotAttributeMask] = 0;
    numbers[SlotWidthIndex] = 2;
    numbers[SlotHeightIndex] = 2;
}

void tellUnreadable() {
    MsgBox(QStringLiteral("設定ファイル PicSet.Ini を一部読み込めませんでした。"
                          "読み込めなかった値には既定値を使います。"),
           Msg::OkOnly | Msg::Exclamation, QStringLiteral("注意"));
}
} // namespace

int AttributeMask() {
    return int(sngSetting[SlotAttributeMask]);
}

void ResetState() {
    strCurrentPath.clear();
    sngSetting.fill(0.0f);
    for (QString& h : strHistory)
        h.clear();
    strWinPath = QStringList{QString()};
    intWinMax = 0;
    intActiveWin = 0;
    strSelectFiles.clear();
    intSelectIndex.clear();
    bytOperation = OpAsk;
    strDestPath.clear();
    strWorkName.clear();
    strWorkPath.clear();
    strReNameBase.clear();
    intReNameStart = 0;
    intReNameStep = 0;
    bytNumberDigits = 0;
    frmViewer = QList<QPointer<QWidget>>{nullptr};
    blnViewerUsed = QList<bool>{false};
}

QString ProgramFolder() {
    if (!programFolderOverride().isEmpty())
        return programFolderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder) {
    programFolderOverride() = folder;
}

bool ProgramInstalled() {
    return IsInstalled(currentPlace());
}

QString StartFolder() {
    if (!ProgramInstalled())
        return ProgramFolder();
    const QString home = QDir::homePath();
    QFile userDirs(configHome() + QStringLiteral("/user-dirs.dirs"));
    const QString pictures =
        userDirs.open(QIODevice::ReadOnly) ? PicturesFolder(userDirs.readAll(), home) : QString();
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : home;
}

QString SettingsPath() {
    const QFileInfo primary(primaryPath());
    const QFileInfo fallback(fallbackPath());
    if (primary.filePath() == fallback.filePath())
        return primary.filePath();
    if (primary.isFile() && fallback.isFile())
        return primary.lastModified() >= fallback.lastModified() ? primary.filePath()
                                                                 : fallback.filePath();
    if (fallback.isFile() && !primaryWritable())
        return fallback.filePath();
    if (primary.exists() || primaryWritable())
        return primary.filePath();
    return fallback.filePath();
}

void IniDefault() {
    applyDefaults(sngSetting);
}

void IniRead() {
    const QString path = SettingsPath();
    const QFileInfo info(path);
    if (!info.exists()) {
        // A first run: the fresh file holds exactly what memory holds now.
        IniDefault();
        IniWrite();
        return;
    }
    QFile f(path);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) {
        IniDefault();
        tellUnreadable();
        return;
    }
    Settings defaults = current();
    applyDefaults(defaults.numbers);
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        IniDefault();
        tellUnreadable();
        return;
    }
    const ParsedSettings parsed = ParseSettings(data, defaults);
    strCurrentPath = parsed.values.currentPath;
    sngSetting = parsed.values.numbers;
    strHistory = parsed.values.history;
    if (!parsed.complete)
        tellUnreadable();
}

void IniWrite() {
    const QByteArray content = FormatSettings(current());
    const QString path = primaryPath();
    QDir().mkpath(QFileInfo(path).path());
    if (primaryWritable() && WriteFileVerified(path, content) == FsStatus::Ok)
        return;
    // A build folder that cannot take the file: the user's configuration
    // folder, told once, when the settings first go there.
    const QString other = fallbackPath();
    const bool first = !QFileInfo::exists(other);
    QDir().mkpath(QFileInfo(other).path());
    if (other != path && WriteFileVerified(other, content) == FsStatus::Ok) {
        if (first) {
            MsgBox(QStringLiteral("プログラムのフォルダーに設定ファイルを保存できないため、"
                                  "次の場所に保存しました。\n") +
                       QDir::toNativeSeparators(other),
                   Msg::OkOnly | Msg::Exclamation, QStringLiteral("注意"));
        }
        return;
    }
    MsgBox(QStringLiteral("設定ファイルを保存できませんでした。"), Msg::OkOnly | Msg::Critical,
           QStringLiteral("警告"));
}

int WinSearch(const QString& path) {
    const int last = std::min<int>(intWinMax, int(strWinPath.size()) - 1);
    for (int slot = 0; slot <= last; ++slot)
        if (strWinPath[slot] == path)
            return slot;
    return -1;
}

void PanelEnabled(bool enabled) {
    if (frmMain* f = frmMain::instance())
        f->PanelEnabled(enabled);
}

void CommandEnabled(int count) {
    if (frmMain* f = frmMain::instance())
        f->CommandEnabled(count);
}

} // namespace mdlSt
