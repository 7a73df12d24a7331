#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "convert/FontMap.h"
#include "map/LoadedMap.h"

namespace varnex {

// The maps between pairs of fonts of one loaded map, each made when first asked for: a batch
// whose inputs are in several fonts needs one per font. Safe to use from several threads; a
// map once made stays where it is.
class PairMaps {
public:
    explicit PairMaps(const LoadedMap& map) : map_(map) {}

    // Fonts by the map's own names. Throws Failure.
    const FontMap& Between(const std::string& source, const std::string& target);

private:
    const LoadedMap& map_;
    std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::unique_ptr<FontMap>> maps_;
};

}  // namespace varnex
