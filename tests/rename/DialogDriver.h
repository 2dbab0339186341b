#pragma once

#include "TestSupport.h"

#include <QDialog>
#include <functional>
#include <utility>

// Loads a dialog of type D, shows it through ShowModal and hands the loaded,
// visible dialog to `drive`; returns ShowModal's result.
template <class D, class... Args>
int RunDialog(const std::function<void(D&)>& drive, Args&&... args) {
    ModalScript script;
    script.then([&](QDialog& shown) { drive(static_cast<D&>(shown)); });
    D dialog(std::forward<Args>(args)...);
    return ShowModal(dialog);
}
