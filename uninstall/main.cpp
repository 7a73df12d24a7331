// Starts the setup toolkit's uninstaller on the log beside this program, then ends.
#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "FrmMain.h"
#include "Launcher.h"
#include "LauncherPlatform.h"

namespace {

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace varnex::uninstall;
    if (!DisplayAvailable()) {
        RunLauncher(OwnFolder,
                    {FileExists, StartDetached, [](const std::string& title, const std::string& text) {
                         std::cerr << title << ": " << text << "\n";
                     }});
        return 0;
    }
    QApplication app(argc, argv);
    FrmMain frmMain;
    frmMain.Load();
    return 0;
}
