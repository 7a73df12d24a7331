#pragma once

#include <string>
#include <vector>

namespace varnex::uninstall {

// The folder that holds this program's executable, without a trailing separator (except
// for the root, "/"). Throws std::runtime_error.
std::string OwnFolder();

// True when anything (a file, a folder, ...) exists at the path. Never throws.
bool FileExists(const std::string& path);

// Starts `program`, found through the PATH search, with these arguments, each handed over
// as it is (no shell), and does not wait for it. Throws std::runtime_error when the
// program cannot be started.
void StartDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace varnex::uninstall
