#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/FontMap.h"
#include "map/FontTable.h"

namespace varnex {

inline constexpr char kFontMapFileName[] = "mskvmap16.dll";

// The font names (the columns of font_info) in table order. Throws Failure, also when the
// table has no rows.
std::vector<std::string> LoadFontList(const std::filesystem::path& database);

// Fills map for the pair source -> target from the database. Throws Failure.
void LoadFontMap(const std::filesystem::path& database, std::string_view source, std::string_view target,
                 FontMap& map);

// The rule by which rows of font_info become map entries. The map is emptied first, so
// that no entry of an earlier pair survives. Throws Failure.
void BuildFontMap(const FontTable& table, std::string_view source, std::string_view target, FontMap& map);

// The same rule, each entry told instead of set: a code of a legacy source font, or a
// character of the Unicode font, with the target's codes; a later row's entry overrides an
// earlier one's. Throws Failure.
void ForEachPairEntry(
    const FontTable& table, std::string_view source, std::string_view target,
    const std::function<void(int code, const std::string& codes)>& codeEntry,
    const std::function<void(char32_t character, const std::string& codes)>& characterEntry);

}  // namespace varnex
