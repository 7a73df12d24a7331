#include "map/FontAliases.h"

#include <algorithm>

#include "Failure.h"
#include "map/CodePageNames.h"
#include "map/FontNameMatch.h"

namespace varnex {

namespace {

// Appends name unless its folded form is among those already taken.
void AddOnce(std::vector<std::string>& names, std::vector<std::string>& taken, std::string_view name) {
    const std::string folded = FoldedFontName(name);
    if (folded.empty() || std::find(taken.begin(), taken.end(), folded) != taken.end()) return;
    taken.push_back(folded);
    names.emplace_back(name);
}

}  // namespace

const std::vector<std::string_view>& CodePageNamesOf(std::string_view font) {
    static const std::vector<std::string_view> none;
    const std::string folded = FoldedFontName(font);
    for (const auto& family : CodePageNameFamilies()) {
        const bool holds = std::any_of(family.begin(), family.end(),
                                       [&](std::string_view name) { return FoldedFontName(name) == folded; });
        if (holds) return family;
    }
    return none;
}

std::vector<std::string> AliasesOf(const FontTable& table, std::string_view font) {
    if (std::find(table.columns.begin(), table.columns.end(), font) == table.columns.end()) return {};
    std::vector<std::string> names;
    std::vector<std::string> taken{FoldedFontName(font)};
    for (const auto& alias : table.aliases) {
        if (alias.font == font) AddOnce(names, taken, alias.alias);
    }
    for (std::string_view name : CodePageNamesOf(font)) AddOnce(names, taken, name);
    return names;
}

std::string AliasFault(const std::vector<std::string>& columns, const FontAlias& alias) {
    if (alias.font.empty()) return "the alias \"" + alias.alias + "\" names no font";
    if (FoldedFontName(alias.alias).empty()) {
        return "the alias \"" + alias.alias + "\" of the font \"" + alias.font +
               "\" has no letter or digit, so no name typed finds it";
    }
    if (std::find(columns.begin(), columns.end(), alias.font) == columns.end())
        return "the alias \"" + alias.alias + "\" is of the font \"" + alias.font +
               "\", which is not in the map";
    return "";
}

std::vector<FontWithAliases> LoadFontListWithAliases(const std::filesystem::path& database) {
    const FontTable table = ReadFontTable(database, TableExtent::ColumnsAndFirstRow);
    if (table.rows.empty()) {
        throw Failure(kDatabaseFailure,
                      "The table font_info in \"" + database.string() + "\" holds no rows.");
    }
    std::vector<FontWithAliases> fonts;
    for (const auto& font : table.columns) fonts.push_back({font, AliasesOf(table, font)});
    return fonts;
}

}  // namespace varnex
