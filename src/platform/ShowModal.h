#pragma once

#include <functional>

class QDialog;

// Shows a dialog modally and returns its result. Tests install a handler that
// receives the real, loaded dialog, drives its controls and returns once the
// dialog has closed.
using ShowModalHandler = std::function<void(QDialog&)>;

int ShowModal(QDialog& dialog);
void SetShowModalHandler(ShowModalHandler handler);
