#include "map/LoadedMap.h"

#include <vector>

#include "Failure.h"
#include "map/FontAliases.h"
#include "map/FontLoaders.h"
#include "map/FontNameMatch.h"

namespace varnex {

namespace {

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

}  // namespace

LoadedMap LoadMap(const std::filesystem::path& path) { return {path, ReadFontTable(path)}; }

std::string ResolveFont(const LoadedMap& map, std::string_view typed) {
    const FontNameMatch match = MatchFontName(map.table, typed);
    if (!match.font.empty()) return match.font;
    const std::string where = map.path.string() + ": the font \"" + std::string(typed) + "\"";
    if (match.ambiguous) throw AmbiguousFontName(where + " is ambiguous: it may be " + Listed(match.nearest));
    throw Failure(kItemNotFound, where + " is not in the map; the nearest are " + Listed(match.nearest));
}

std::vector<std::string> AliasesOf(const LoadedMap& map, const std::string& font) {
    return AliasesOf(map.table, font);
}

void BuildPairMap(const LoadedMap& map, std::string_view source, std::string_view target, FontMap& out) {
    try {
        BuildFontMap(map.table, source, target, out);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), map.path.string() + ": " + failure.Description());
    }
}

}  // namespace varnex
