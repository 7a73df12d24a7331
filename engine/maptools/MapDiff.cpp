#include "maptools/MapDiff.h"

#include <set>

#include "Failure.h"
#include "convert/FontMap.h"
#include "map/FontLoaders.h"
#include "maptools/MapCheck.h"

namespace varnex::map {

namespace {

// Loads the pair into map; the failure's description when the load would end the program.
std::string Load(const FontTable& table, const std::string& source, const std::string& target, FontMap& map) {
    try {
        BuildFontMap(table, source, target, map);
        return {};
    } catch (const Failure& failure) {
        return failure.Description();
    }
}

std::vector<std::string> FontsMissingFrom(const FontTable& table, const FontTable& other) {
    std::vector<std::string> missing;
    for (const auto& name : table.columns) {
        if (!ColumnForFont(other, name)) missing.push_back(name);
    }
    return missing;
}

// The characters from U+0080 on, where the source is the Unicode font.
void CompareCharacters(const FontMap& before, const FontMap& after, PairDifference& pair) {
    std::set<char32_t> characters;
    const auto collect = [&](char32_t character, std::string_view) { characters.insert(character); };
    before.Characters().ForEach(collect);
    after.Characters().ForEach(collect);
    for (const char32_t c : characters) {
        const std::string_view was = before.CharacterEntry(c), is = after.CharacterEntry(c);
        if (was != is) pair.codes.push_back({static_cast<int>(c), std::string(was), std::string(is)});
    }
}

void ComparePair(const FontTable& before, const FontTable& after, const std::string& source,
                 const std::string& target, MapDifferences& differences) {
    FontMap mapBefore;
    FontMap mapAfter;
    PairDifference pair{
        source, target, Load(before, source, target, mapBefore), Load(after, source, target, mapAfter), {}};
    if (pair.failureBefore.empty() != pair.failureAfter.empty()) {
        differences.pairs.push_back(std::move(pair));
        return;
    }
    if (!pair.failureBefore.empty()) return;
    for (int code = 1; code < 256; ++code) {
        if (mapBefore.Entry(code) != mapAfter.Entry(code)) {
            pair.codes.push_back(
                {code, std::string(mapBefore.Entry(code)), std::string(mapAfter.Entry(code))});
        }
    }
    CompareCharacters(mapBefore, mapAfter, pair);
    if (!pair.codes.empty()) differences.pairs.push_back(std::move(pair));
}

}  // namespace

MapDifferences DiffFontTables(const FontTable& before, const FontTable& after) {
    MapDifferences differences;
    differences.onlyBefore = FontsMissingFrom(before, after);
    differences.onlyAfter = FontsMissingFrom(after, before);
    for (std::size_t s = 0; s < before.columns.size(); ++s) {
        for (std::size_t t = 0; t < before.columns.size(); ++t) {
            const auto& source = before.columns[s];
            const auto& target = before.columns[t];
            if (s == t || ColumnForFont(before, source) != s || ColumnForFont(before, target) != t) continue;
            if (!ColumnForFont(after, source) || !ColumnForFont(after, target)) continue;
            ComparePair(before, after, source, target, differences);
        }
    }
    return differences;
}

}  // namespace varnex::map
