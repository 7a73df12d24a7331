#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varnex::uninstall {

inline constexpr char kLogName[] = "ST6UNST.LOG";
inline constexpr char kUninstaller[] = "st6unst";
inline constexpr char kCannotUninstall[] =
    "Could not uninstall from here. Please use Add/Remove in Control Panel.";
inline constexpr char kTitle[] = "Uninstaller";

// The setup log's path in `folder`: exactly one separator between them.
std::string LogPathFor(const std::string& folder);

// What the launcher does with the outside world.
struct LauncherActions {
    std::function<bool(const std::string& path)> fileExists;
    std::function<void(const std::string& program, const std::vector<std::string>& arguments)> start;
    std::function<void(const std::string& title, const std::string& text)> showCritical;
};

// Starts the uninstaller on the log in `folder`, or tells the user to use the system's
// own removal when there is no log or the uninstaller cannot be started.
void RunLauncher(const std::function<std::string()>& folder, const LauncherActions& actions);

}  // namespace varnex::uninstall
