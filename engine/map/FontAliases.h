#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "map/FontTable.h"

namespace varnex {

// The usual names of the code page a font is named after: the family of CodePageNameFamilies
// that holds its name (compared folded, as typed names are); empty for a font of no code page.
const std::vector<std::string_view>& CodePageNamesOf(std::string_view font);

// The names a font of the table answers to besides its own (font: the map's own name), each
// once as typed names are compared: those the map declares for it, in the map's order, then
// its code page's usual names. None for a name that is no font of the table.
std::vector<std::string> AliasesOf(const FontTable& table, std::string_view font);

// Why the map cannot declare the alias, or empty when it can: the font is one of the table's
// columns, and the alias has a letter or digit (what typed names are compared by).
std::string AliasFault(const std::vector<std::string>& columns, const FontAlias& alias);

// A font of the map with its aliases (AliasesOf), for a list of the fonts.
struct FontWithAliases {
    std::string font;
    std::vector<std::string> aliases;
};

// The fonts of the map at `database` in table order, each with its aliases. Throws Failure as
// LoadFontList does.
std::vector<FontWithAliases> LoadFontListWithAliases(const std::filesystem::path& database);

}  // namespace varnex
