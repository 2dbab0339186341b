#include "rename/frmReName.h"

#include "app/mdlSt.h"
#include "platform/FormText.h"
#include "platform/MsgBox.h"
#include "rename/DialogForm.h"
#include "rename/NamingRules.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace {
const QString Title = QStringLiteral("警告");

void warn(const QString& text) {
    MsgBox(text, Msg::OkOnly | Msg::Critical, Title);
}

// Reads a numeric box into its variable; false (after the message) when the
// value lies outside the variable's range, and the variable keeps its value.
bool readInto(QLineEdit* box, int lowest, int highest, int& variable) {
    const std::optional<int> value = ReadInteger(box->text(), lowest, highest);
    if (!value) {
        warn(QStringLiteral("数値が大きすぎます。"));
        return false;
    }
    variable = *value;
    return true;
}

// More spaces than the longest file name can hold are refused like any other
// number out of range.
constexpr int MostSpaces = 255;
} // namespace

frmReName::frmReName(QWidget* parent) : PointerPlacedDialog(parent) {
    SetUpFixedDialog(*this, QStringLiteral("ﾌｧｲﾙ名の一括変換"), 4335, 2595);

    // Created in tab order: the five boxes, OK, Cancel, the five labels.
    txtName = AddTextBox(*this, "txtName", 1800, 120, 2295, 270);
    txtStartNumber = AddTextBox(*this, "txtStartNumber", 1800, 600, 1095, 270);
    txtInterval = AddTextBox(*this, "txtInterval", 1800, 1080, 1095, 270);
    txtZero = AddTextBox(*this, "txtZero", 1800, 1560, 1095, 270);
    txtSpace = AddTextBox(*this, "txtSpace", 1800, 2040, 1095, 270);
    cmdOk = AddButton(*this, "cmdOk", QStringLiteral("OK"), 3240, 1560, 975, 375);
    cmdCancel = AddButton(*this, "cmdCancel", QStringLiteral("Cancel"), 3240, 2040, 975, 375);
    lblTitle[0] =
        AddLabel(*this, "lblTitle0", QStringLiteral("ﾌｧｲﾙ名の先頭文字"), 240, 165, 1575, 255);
    lblTitle[1] = AddLabel(*this, "lblTitle1", QStringLiteral("開始番号"), 240, 645, 975, 255);
    lblTitle[2] = AddLabel(*this, "lblTitle2", QStringLiteral("番号増加値"), 240, 1125, 975, 255);
    lblTitle[3] = AddLabel(*this, "lblTitle3", QStringLiteral("番号桁数"), 240, 1620, 975, 255);
    lblTitle[4] = AddLabel(*this, "lblTitle4", QStringLiteral("文字と番号の間のスペース数"), 240,
                           2040, 1455, 375);
    lblTitle[4]->setWordWrap(true);
    setTabOrder(txtName, txtStartNumber);
    setTabOrder(txtStartNumber, txtInterval);
    setTabOrder(txtInterval, txtZero);
    setTabOrder(txtZero, txtSpace);
    setTabOrder(txtSpace, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    cmdOk->setDefault(true);

    connect(cmdOk, &QPushButton::clicked, this, &frmReName::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReName::reject);

    txtName->setText(mdlSt::strReNameBase);
    txtName->selectAll();
    txtStartNumber->setText(QString::number(mdlSt::intReNameStart));
    txtInterval->setText(QString::number(mdlSt::intReNameStep));
    txtZero->setText(QString::number(mdlSt::bytNumberDigits));
    txtSpace->setText(QStringLiteral("1"));
    txtName->setFocus();
    FitFormTexts(*this);
}

void frmReName::cmdOk_Click() {
    mdlSt::strReNameBase = txtName->text();
    if (!readInto(txtStartNumber, -32768, 32767, mdlSt::intReNameStart) ||
        !readInto(txtInterval, -32768, 32767, mdlSt::intReNameStep) ||
        !readInto(txtZero, 0, 255, mdlSt::bytNumberDigits))
        return;

    const auto refuse = [](const QString& text, QLineEdit* focus) {
        warn(text);
        focus->setFocus();
    };
    if (mdlSt::strReNameBase.isEmpty())
        return refuse(QStringLiteral("ファイル名が入力されていません"), txtName);
    if (mdlSt::intReNameStart == 0)
        return refuse(QStringLiteral("開始番号が不正です"), txtStartNumber);
    if (mdlSt::intReNameStep == 0)
        return refuse(QStringLiteral("番号増加値が不正です"), txtInterval);
    if (mdlSt::bytNumberDigits == 0)
        return refuse(QStringLiteral("番号桁数が不正です"), txtZero);
    const QString problem = LeadingTextProblem(mdlSt::strReNameBase);
    if (!problem.isEmpty())
        return refuse(problem, txtName);

    if (!mdlSt::strReNameBase.endsWith(QLatin1Char(' '))) {
        int spaces = 0;
        if (!readInto(txtSpace, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                      spaces))
            return;
        if (spaces < 0)
            return; // a negative count leaves the dialog open without a word
        if (spaces > MostSpaces)
            return warn(QStringLiteral("数値が大きすぎます。"));
        mdlSt::strReNameBase += QString(spaces, QLatin1Char(' '));
    }
    accept();
}

void frmReName::reject() {
    mdlSt::strReNameBase.clear();
    QDialog::reject();
}
