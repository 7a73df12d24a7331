#include "LauncherPlatform.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace varnex::uninstall {

std::string OwnFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) {
        throw std::runtime_error("cannot find the program's own folder");
    }
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

void StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int error = ::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
}

}  // namespace varnex::uninstall
