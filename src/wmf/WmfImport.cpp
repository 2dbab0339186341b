#include "wmf/WmfImport.h"

#include <QtPlugin>

// Defined by the plugin's meta-object code (WmfPlugin.cpp).
extern const QStaticPlugin qt_static_plugin_PiksorWmfPlugin();

void ImportWmfPlugin() {
    static const bool registered = [] {
        qRegisterStaticPluginFunction(qt_static_plugin_PiksorWmfPlugin());
        return true;
    }();
    (void)registered;
}

namespace {
// Qt's image readers collect the plugin list when the first reader is made
// (the program's icons are read long before any picture file), so the plugin
// is registered while the program starts, as Q_IMPORT_PLUGIN would do it.
// This file is linked whenever something calls ImportWmfPlugin().
const bool registeredAtStart = (ImportWmfPlugin(), true);
} // namespace
