#include "platform/wmf/WmfImport.h"

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
