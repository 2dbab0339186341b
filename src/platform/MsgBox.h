#pragma once

#include <QString>
#include <functional>

// Message boxes in the old style: one call, buttons and icon as flags, the
// pressed button as the result. Tests install a handler that answers instead.
namespace Msg {
enum Buttons : int {
    OkOnly = 0,
    OkCancel = 1,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    DefaultButton2 = 256,
};
enum Result : int { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };
} // namespace Msg

struct MsgBoxCall {
    QString prompt;
    int buttons = 0; // button set | icon | default button
    QString title;

    int buttonSet() const { return buttons & 0x0F; }
    int icon() const { return buttons & 0x70; }
    int defaultButton() const { return buttons & 0x300; }
};

using MsgBoxHandler = std::function<int(const MsgBoxCall&)>;

int MsgBox(const QString& prompt, int buttons, const QString& title);

// Installs a handler that receives every call and returns the answer; an empty
// handler restores the real message box.
void SetMsgBoxHandler(MsgBoxHandler handler);
