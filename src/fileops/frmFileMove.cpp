#include "fileops/frmFileMove.h"

#include "app/mdlSt.h"
#include "platform/FormText.h"
#include "platform/Screen.h"

#include <QLabel>
#include <QPushButton>

frmFileMove::frmFileMove(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ファイル操作"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixelsX(3870), TwipsToPixelsY(1050));

    lblTitle = new QLabel(QStringLiteral("ファイルを移動しますか？コピーしますか？"), this);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setGeometry(TwipsToPixels(0, 120, 3855, 255));
    cmdCopy = new QPushButton(QStringLiteral("コピー"), this);
    cmdCopy->setGeometry(TwipsToPixels(240, 600, 855, 375));
    cmdMove = new QPushButton(QStringLiteral("移動"), this);
    cmdMove->setGeometry(TwipsToPixels(1200, 600, 855, 375));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(TwipsToPixels(2880, 600, 855, 375));
    setTabOrder(cmdCopy, cmdMove);
    setTabOrder(cmdMove, cmdCancel);
    cmdCopy->setFocus();

    connect(cmdCopy, &QPushButton::clicked, this, [this] {
        mdlSt::bytOperation = mdlSt::OpCopy;
        accept();
    });
    connect(cmdMove, &QPushButton::clicked, this, [this] {
        mdlSt::bytOperation = mdlSt::OpMove;
        accept();
    });
    // Esc and the close box leave the operation at "ask".
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    FitFormTexts(*this);
    PlaceAtPointer(*this);
}
