#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Building blocks of the small fixed dialogs, whose controls are laid out in
// twips (1/1440 inch) on a client area of a fixed size.

// A fixed-size dialog window with a close box and neither minimise nor
// maximise button, with the given caption and client area, in the forms' font.
void SetUpFixedDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips);

// Each control gets its name as object name, for lookups by name.

// A label at the given place; one that is sized to its text keeps its left
// and top and takes the size of its text (single line).
QLabel* AddLabel(QWidget& form, const char* name, const QString& text, int left, int top, int width,
                 int height, bool sizedToText = false);
QLineEdit* AddTextBox(QWidget& form, const char* name, int left, int top, int width, int height);
QPushButton* AddButton(QWidget& form, const char* name, const QString& caption, int left, int top,
                       int width, int height);

// A dialog that opens centred on the pointer and wholly on the screen. It is
// placed when shown, once the window knows the size of its frame.
class PointerPlacedDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    void showEvent(QShowEvent* event) override;
};
