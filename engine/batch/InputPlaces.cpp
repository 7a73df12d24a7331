#include "batch/InputPlaces.h"

#include <unistd.h>

namespace varnex {

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

std::optional<std::string> InputIdentities::InputAt(const FileIdentity& identity) const {
    const auto found = inputs_.find(identity);
    if (found == inputs_.end()) return std::nullopt;
    return found->second;
}

}  // namespace varnex
