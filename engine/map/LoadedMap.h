#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "convert/FontMap.h"
#include "map/FontTable.h"

namespace varnex {

// A font map read once, for conversions between any of its fonts; failures name its file.
struct LoadedMap {
    std::filesystem::path path;
    FontTable table;
};

// Reads the whole table. Throws Failure.
LoadedMap LoadMap(const std::filesystem::path& path);

// The map's own name for a font as a person types it (MatchFontName). Throws Failure naming
// the candidates of an ambiguous name, or the nearest fonts of one that is not in the map.
std::string ResolveFont(const LoadedMap& map, std::string_view typed);

// Fills `out` for the pair, given by the map's own names (BuildFontMap). Throws Failure.
void BuildPairMap(const LoadedMap& map, std::string_view source, std::string_view target, FontMap& out);

}  // namespace varnex
