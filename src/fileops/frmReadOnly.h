#pragma once

#include "rename/DialogForm.h"
#include <QString>
#include <array>

class QLabel;
class QPushButton;

// Asks whether to clear the read-only attribute of a file before an operation
// changes it. In: mdlSt::strWorkName (the name as shown) and strWorkPath (its
// folder). "無視" clears the attribute, "すべて無視" also for the later files
// of the same operation (sngSetting slot 8); Cancel, the close box or a
// clearing that fails and is not retried skip the file: both strings empty.
class frmReadOnly : public PointerPlacedDialog {
    Q_OBJECT
public:
    // filePath is the file itself. The shown name is upper case and so, on a
    // file system that tells letter cases apart, may not name the file.
    explicit frmReadOnly(const QString& filePath, QWidget* parent = nullptr);

    // Esc and the close box: as Cancel.
    void reject() override;

    std::array<QLabel*, 4> lblTitle{};
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdAll = nullptr;

private:
    void cmdOk_Click();
    void cmdAll_Click();

    QString m_filePath;
};
