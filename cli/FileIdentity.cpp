#include "FileIdentity.h"

#include <unistd.h>

namespace varnex::cli {

namespace {

Identity IdentityOf(const struct stat& info) { return Identity{info.st_dev, info.st_ino}; }

}  // namespace

std::optional<Identity> IdentityOfPath(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

std::optional<Identity> IdentityOfDescriptor(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

std::optional<Place> Places::Of(const std::filesystem::path& path) {
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
    auto known = folders_.find(folder);
    if (known == folders_.end()) known = folders_.emplace(folder, IdentityOfPath(folder)).first;
    if (!known->second) return std::nullopt;
    return Place{*known->second, path.filename().string()};
}

InputIdentities::InputIdentities(const std::vector<Input>& inputs) {
    for (const auto& input : inputs) {
        const auto identity =
            input.name == "-" ? IdentityOfDescriptor(STDIN_FILENO) : IdentityOfPath(input.name);
        if (identity) inputs_.emplace(*identity, ShownName(input));
    }
}

std::optional<std::string> InputIdentities::InputAt(const Identity& identity) const {
    const auto found = inputs_.find(identity);
    if (found == inputs_.end()) return std::nullopt;
    return found->second;
}

}  // namespace varnex::cli
