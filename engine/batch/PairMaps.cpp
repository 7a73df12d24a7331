#include "batch/PairMaps.h"

namespace varnex {

const FontMap& PairMaps::Between(const std::string& source, const std::string& target) {
    const std::lock_guard lock(mutex_);
    auto& made = maps_[{source, target}];
    if (!made) {
        auto map = std::make_unique<FontMap>();
        BuildPairMap(map_, source, target, *map);
        made = std::move(map);
    }
    return *made;
}

}  // namespace varnex
