#include "files/TemporaryNames.h"

#include <sys/random.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>

namespace varnex {

namespace {

constexpr char kMarker[] = ".varnex-";
constexpr std::size_t kRandomLength = 6;
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool InAlphabet(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

std::string RandomPart() {
    std::array<std::uint8_t, kRandomLength> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        // no entropy source: the clock is enough, since a taken name is tried again
        auto seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(seed >>= 5);
    }
    std::string part;
    for (const std::uint8_t byte : bytes) part += kAlphabet[byte % (sizeof kAlphabet - 1)];
    return part;
}

}  // namespace

std::string TemporaryPrefix(const std::filesystem::path& finalPath) {
    return "." + finalPath.filename().string() + kMarker;
}

std::filesystem::path RandomTemporaryPath(const std::filesystem::path& finalPath) {
    return FolderOf(finalPath) / (TemporaryPrefix(finalPath) + RandomPart());
}

bool IsTemporaryName(const std::string& name) {
    const std::size_t marker = name.rfind(kMarker);
    if (name.size() < 2 || name[0] != '.' || marker == std::string::npos || marker < 2) return false;
    const std::string random = name.substr(marker + sizeof kMarker - 1);
    return random.size() == kRandomLength && std::all_of(random.begin(), random.end(), InAlphabet);
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

}  // namespace varnex
