#include "Launcher.h"

#include <exception>

namespace varnex::uninstall {

std::string LogPathFor(const std::string& folder) {
    return folder.empty() || folder.back() != '/' ? folder + "/" + kLogName : folder + kLogName;
}

void RunLauncher(const std::function<std::string()>& folder, const LauncherActions& actions) {
    try {
        const std::string log = LogPathFor(folder());
        if (actions.fileExists(log)) {
            actions.start(kUninstaller, {"-n", log});
            return;
        }
    } catch (const std::exception&) {
        // reported below like a missing log
    }
    actions.showCritical(kTitle, kCannotUninstall);
}

}  // namespace varnex::uninstall
