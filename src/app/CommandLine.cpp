// The command line, and what the main window does with its argument: a folder
// opens in the panel, a picture opens its folder there and itself in a viewer.
#include "app/CommandLine.h"

#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/MsgBox.h"
#include "platform/Picture.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

void SetApplicationNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Piksor"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(PIKSOR_VERSION_MAJOR)
                                                .arg(PIKSOR_VERSION_MINOR)
                                                .arg(PIKSOR_VERSION_PATCH));
}

void SetUpCommandLine(QCommandLineParser& parser) {
    // "-platform" and the other options of Qt are words, not letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "画像ファイルをサムネイルで見ながら、コピー・移動・削除・名前の変更で整理します。\n"
        "フォルダーを渡すとパネルにそのフォルダーを開き、画像ファイルを渡すと"
        "そのフォルダーを開いて画像をビューアーで表示します。"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE|FOLDER"),
                                 QStringLiteral("開くフォルダー、または画像ファイル"),
                                 QStringLiteral("[FILE|FOLDER]"));
}

bool AsksForText(const QStringList& arguments) {
    QCommandLineParser parser;
    SetUpCommandLine(parser);
    parser.parse(arguments);
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
           parser.isSet(QStringLiteral("version"));
}

namespace {
void refuse(const QString& reason, const QString& argument) {
    MsgBox(reason + QLatin1Char('\n') + argument, Msg::OkOnly | Msg::Critical,
           QStringLiteral("警告"));
}
} // namespace

bool frmMain::PanelOpen(const QString& folder) {
    const QString remembered = dirSelect->Path();
    drvSelect->setDrive(folder);
    if (dirSelect->setPath(folder) == FsStatus::Ok)
        return true;
    dirSelect->setPath(remembered);
    drvSelect->setDrive(remembered);
    folderOpenFailed(folder);
    return false;
}

void frmMain::OpenArgument(const QString& argument) {
    const QFileInfo info(QDir::current().absoluteFilePath(argument));
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (info.isDir()) {
        PanelOpen(path);
        return;
    }
    if (!info.exists()) {
        refuse(QStringLiteral("指定されたファイルまたはフォルダーが見つかりません。"), argument);
        return;
    }
    if (!info.isFile() || !LoadPictureSize(path).isValid()) {
        refuse(QStringLiteral("指定されたファイルは開ける画像ファイルではありません。"), argument);
        return;
    }
    if (!PanelOpen(info.absolutePath()))
        return;
    // As a name double-clicked in the file list.
    mdlSt::strWorkPath = path;
    ImageOpened(mdlSt::strWorkPath);
}
