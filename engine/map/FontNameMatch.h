#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "map/FontTable.h"

namespace varnex {

// A font name as a person types it on a command line, found among the fonts of a map.
struct FontNameMatch {
    std::string font;                  // the map's own name; empty when not found
    std::vector<std::string> nearest;  // when not found or ambiguous: the names to suggest
    bool ambiguous = false;
};

// A name as names are compared: ASCII letters in lower case and digits kept, blanks and ASCII
// punctuation dropped, other bytes (letters of other scripts in UTF-8) kept as they are.
std::string FoldedFontName(std::string_view name);

// Exact names win. Failing that, a name is compared folded ("koi8r" finds "KOI8-R"); when
// several fonts match that way, or none does and the name begins several fonts' names ("koi8"
// begins "KOI8-R" and "KOI8-U"), the name is ambiguous; otherwise the nearest names (by edit
// distance) are suggested.
FontNameMatch MatchFontName(const std::vector<std::string>& fonts, std::string_view typed);

// The same with the names fonts also answer to, tried after the folded font names: first the
// aliases the map declares, then the usual names of the code pages that fonts are named after
// ("cp1251" finds "Windows-1251"; CodePageNames.h). An alias of two fonts is ambiguous.
FontNameMatch MatchFontName(const FontTable& table, std::string_view typed);

// The name of the map's Unicode font, whose cells hold each row's character in UTF-8.
inline constexpr char kUnicodeFontName[] = "UTF-8";

// True for the name of the Unicode font, compared as typed names are ("utf8", "Utf-8").
bool IsUnicodeFont(std::string_view fontName);

}  // namespace varnex
