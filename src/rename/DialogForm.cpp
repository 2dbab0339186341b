#include "rename/DialogForm.h"

#include "platform/FormText.h"
#include "platform/Screen.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

void SetUpFixedDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    dialog.setWindowTitle(caption);
    dialog.setFixedSize(TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips));
    // The font first: a label sized to its text is sized in it.
    dialog.setFont(FormFont());
}

QLabel* AddLabel(QWidget& form, const char* name, const QString& text, int left, int top, int width,
                 int height, bool sizedToText) {
    auto* label = new QLabel(text, &form);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsToPixels(left, top, width, height));
    if (sizedToText)
        label->adjustSize();
    return label;
}

QLineEdit* AddTextBox(QWidget& form, const char* name, int left, int top, int width, int height) {
    auto* box = new QLineEdit(&form);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(TwipsToPixels(left, top, width, height));
    return box;
}

QPushButton* AddButton(QWidget& form, const char* name, const QString& caption, int left, int top,
                       int width, int height) {
    auto* button = new QPushButton(caption, &form);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(TwipsToPixels(left, top, width, height));
    return button;
}

void PointerPlacedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        PlaceAtPointer(*this);
}
