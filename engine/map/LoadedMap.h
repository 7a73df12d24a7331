#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Failure.h"
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

// A font name that finds several fonts of the map (or their aliases), for the person to choose.
class AmbiguousFontName : public Failure {
public:
    explicit AmbiguousFontName(const std::string& description) : Failure(kItemNotFound, description) {}
};

// The map's own name for a font as a person types it (MatchFontName, aliases included).
// Throws AmbiguousFontName naming the candidates of an ambiguous name, Failure naming the
// nearest fonts of one that is not in the map (which may be the wrong map).
std::string ResolveFont(const LoadedMap& map, std::string_view typed);

// The other names a font of the map answers to (font: the map's own name): the map's aliases
// for it, then its code page's usual names (AliasesOf in map/FontAliases.h).
std::vector<std::string> AliasesOf(const LoadedMap& map, const std::string& font);

// Fills `out` for the pair, given by the map's own names (BuildFontMap). Throws Failure.
void BuildPairMap(const LoadedMap& map, std::string_view source, std::string_view target, FontMap& out);

}  // namespace varnex
