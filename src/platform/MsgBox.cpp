#include "platform/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
MsgBoxHandler& handler() {
    static MsgBoxHandler h;
    return h;
}

QMessageBox::Icon iconOf(int flags) {
    switch (flags & 0x70) {
    case Msg::Critical:
        return QMessageBox::Critical;
    case Msg::Question:
        return QMessageBox::Question;
    case Msg::Exclamation:
        return QMessageBox::Warning;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int result;
};

QList<ButtonChoice> buttonsOf(int flags) {
    switch (flags & 0x0F) {
    case Msg::OkCancel:
        return {{QMessageBox::Ok, Msg::Ok}, {QMessageBox::Cancel, Msg::Cancel}};
    case Msg::YesNo:
        return {{QMessageBox::Yes, Msg::Yes}, {QMessageBox::No, Msg::No}};
    case Msg::RetryCancel:
        return {{QMessageBox::Retry, Msg::Retry}, {QMessageBox::Cancel, Msg::Cancel}};
    default:
        return {{QMessageBox::Ok, Msg::Ok}};
    }
}
} // namespace

void SetMsgBoxHandler(MsgBoxHandler h) {
    handler() = std::move(h);
}

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    if (handler())
        return handler()(MsgBoxCall{prompt, buttons, title});

    QMessageBox box(iconOf(buttons), title, prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const QList<ButtonChoice> choices = buttonsOf(buttons);
    for (const ButtonChoice& s : choices)
        box.addButton(s.button);
    const int defaultIndex = (buttons & Msg::DefaultButton2) ? 1 : 0;
    box.setDefaultButton(choices.value(defaultIndex, choices.first()).button);
    // Esc answers with the last button (Cancel or No), or OK when it is alone.
    box.setEscapeButton(choices.last().button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonChoice& s : choices)
        if (s.button == clicked)
            return s.result;
    return choices.last().result;
}
