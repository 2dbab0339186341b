#include "app/frmVer.h"

#include "app/WindowArrange.h"
#include "platform/FormText.h"
#include "platform/Screen.h"

#include <QLabel>
#include <QPushButton>

namespace {
QLabel* label(QWidget* parent, const QString& text, QRgb colour, const QRect& place) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(place);
    l->setAttribute(Qt::WA_TranslucentBackground);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(colour));
    l->setPalette(p);
    return l;
}

QFont fontOf(const QStringList& families, double points, bool bold) {
    QFont f;
    f.setFamilies(families);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}
} // namespace

frmVer::frmVer(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixelsX(4035), TwipsToPixelsY(1965));

    imgBack = new QLabel(this);
    imgBack->setGeometry(TwipsToPixels(0, 0, 4095, 2535));
    imgBack->setScaledContents(true);
    imgBack->setPixmap(QPixmap(QStringLiteral(":/background.png")));

    const QFont title = fontOf(
        {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")},
        36, true);
    // The lighter copy first, the darker one drawn over it, up and to the right.
    lblTitle[1] = label(this, QStringLiteral("Piksor"), qRgb(0xC0, 0xFF, 0xFF),
                        TwipsToPixels(840, 240, 2295, 735));
    lblTitle[0] = label(this, QStringLiteral("Piksor"), qRgb(0x00, 0xC0, 0xC0),
                        TwipsToPixels(900, 180, 2295, 735));
    for (QLabel* l : lblTitle)
        l->setFont(title);
    lblTitle[0]->raise();

    lblVer = label(this, QString(), qRgb(0x80, 0xFF, 0x80), TwipsToPixels(1080, 960, 1815, 255));
    lblVer->setFont(fontOf({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                            QStringLiteral("IPAGothic")},
                           11.25, false));
    Label1 = label(this, QStringLiteral("画像整理ツール"), qRgb(0xC0, 0xC0, 0xC0),
                   TwipsToPixels(1080, 1200, 1695, 255));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(TwipsToPixels(3000, 1440, 735, 375));
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load();
    FitFormTexts(*this);
}

void frmVer::Form_Load() {
    lblVer->setText(VersionLine(PIKSOR_VERSION_MAJOR, PIKSOR_VERSION_MINOR, PIKSOR_VERSION_PATCH));
}
