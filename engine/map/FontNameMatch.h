#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnex {

// A font name as a person types it on a command line, found among the fonts of a map.
struct FontNameMatch {
    std::string font;                  // the map's own name; empty when not found
    std::vector<std::string> nearest;  // when not found or ambiguous: the names to suggest
    bool ambiguous = false;
};

// Exact names win. Failing that, a name is compared ignoring letter case, blanks and
// punctuation ("koi8r" finds "KOI8-R"); when several fonts match that way the name is
// ambiguous, and when none does the nearest names (by edit distance) are suggested.
FontNameMatch MatchFontName(const std::vector<std::string>& fonts, std::string_view typed);

// The name of the map's Unicode font, whose cells hold each row's character in UTF-8.
inline constexpr char kUnicodeFontName[] = "UTF-8";

// True for the name of the Unicode font, compared as typed names are ("utf8", "Utf-8").
bool IsUnicodeFont(std::string_view fontName);

}  // namespace varnex
