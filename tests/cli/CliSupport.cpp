#include "CliSupport.h"

#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace varnex::test {

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> FilesBelow(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

RunSetup Unprivileged(const std::filesystem::path& dir) {
    RunSetup setup;
    if (::getuid() != 0) return setup;
    constexpr uid_t kNobody = 65534;
    ::lchown(dir.c_str(), kNobody, kNobody);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        ::lchown(entry.path().c_str(), kNobody, kNobody);
    setup.inChild = [] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(122);
    };
    return setup;
}

RunSetup WithEnvironment(const std::string& name, const std::string& value) {
    RunSetup setup;
    setup.inChild = [name, value] { ::setenv(name.c_str(), value.c_str(), 1); };
    return setup;
}

namespace {

bool Running(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("State:")) return line.find('Z') == std::string::npos;
    }
    return false;
}

}  // namespace

bool HoldsUnnamedFileIn(pid_t pid, const std::filesystem::path& folder) {
    const std::string prefix = folder.string() + "/#";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    const std::filesystem::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    while (std::chrono::steady_clock::now() < deadline && Running(pid)) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
            const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
            if (target.starts_with(prefix) && target.ends_with(" (deleted)")) return true;
        }
        std::this_thread::yield();
    }
    return false;
}

}  // namespace varnex::test
