#include "fileops/frmMakeFolder.h"

#include "platform/Files.h"
#include "platform/FolderEntries.h"
#include "platform/FormText.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Volumes.h"
#include "rename/NamingRules.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cerrno>
#include <sys/stat.h>

namespace {
void warn(const QString& text) {
    MsgBox(text, Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
}
} // namespace

frmMakeFolder::frmMakeFolder(const QString& parentFolder, QWidget* parent)
    : QDialog(parent), m_parentFolder(parentFolder) {
    setWindowTitle(QStringLiteral("フォルダーの作成"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixelsX(3720), TwipsToPixelsY(1200));

    lblTitle = new QLabel(QStringLiteral("作成するフォルダーの名前を入力して下さい。"), this);
    lblTitle->setGeometry(TwipsToPixels(120, 120, 3465, 180));
    txtName = new QLineEdit(this);
    txtName->setGeometry(TwipsToPixels(240, 360, 3135, 270));
    cmdOk = new QPushButton(QStringLiteral("作成"), this);
    cmdOk->setGeometry(TwipsToPixels(480, 720, 975, 375));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(TwipsToPixels(2160, 720, 975, 375));
    setTabOrder(txtName, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    txtName->setFocus();

    connect(cmdOk, &QPushButton::clicked, this, &frmMakeFolder::cmdOk_Click);
    // Esc and the close box cancel.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    FitFormTexts(*this);
    PlaceAtPointer(*this);
}

void frmMakeFolder::cmdOk_Click() {
    const QString name = txtName->text();
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0))) {
        warn(QStringLiteral("フォルダー名に「/」は使えません。"));
        return;
    }
    const QString path = JoinPath(m_parentFolder, name);
    // An empty name finds the folder itself, so it counts as a duplicate too,
    // as does a name of blanks alone, which names no folder a list could show;
    // a name that differs only in case is the same name.
    if (IsBlankName(name) || NameExists(m_parentFolder, name, Attr::Directory)) {
        warn(QStringLiteral("名前が重複しています。"));
        return;
    }
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const FsStatus st = StatusFromErrno(errno);
        warn(st == FsStatus::Exists
                 ? QStringLiteral("名前が重複しています。")
                 : QStringLiteral("フォルダーを作成できませんでした。\n") + path);
        return;
    }
    m_created = path;
    accept();
}
