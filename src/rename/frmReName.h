#pragma once

#include "rename/DialogForm.h"
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the parameters of a numbered batch rename. In and out through
// mdlSt::strReNameBase (leading text, "" = cancelled), intReNameStart,
// intReNameStep and bytNumberDigits; the space count is folded into the
// leading text on OK.
class frmReName : public PointerPlacedDialog {
    Q_OBJECT
public:
    explicit frmReName(QWidget* parent = nullptr);

    // Esc and the close box: as Cancel.
    void reject() override;

    std::array<QLabel*, 5> lblTitle{};
    QLineEdit* txtName = nullptr;
    QLineEdit* txtStartNumber = nullptr;
    QLineEdit* txtInterval = nullptr;
    QLineEdit* txtZero = nullptr;
    QLineEdit* txtSpace = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void cmdOk_Click();
};
