#include "PlatformStart.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace varnex::ui {

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool PrepareGuiStart(const char* program) {
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        std::cerr << program
                  << ": no graphical display (DISPLAY is not set); start it from a desktop session.\n";
        return false;
    }
    // The web engine's sandbox refuses to run as root; only then is it turned off.
    if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    return true;
}

}  // namespace varnex::ui
