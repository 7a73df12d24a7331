#include "map/FontNameMatch.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace varnex {

namespace {

constexpr std::size_t kSuggestions = 3;

// ASCII letters folded to lower case and digits kept; blanks and ASCII punctuation dropped;
// other bytes (letters of other scripts in UTF-8) kept as they are.
std::string Folded(std::string_view name) {
    std::string folded;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 || (u >= '0' && u <= '9')) {
            folded.push_back(c);
        } else if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) {
            folded.push_back(static_cast<char>(u | 0x20));
        }
    }
    return folded;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string> Nearest(const std::vector<std::string>& fonts, const std::string& folded) {
    // names that hold the typed text come first, then the others by edit distance
    std::vector<std::tuple<bool, std::size_t, std::size_t>> ranked;  // lacks it, distance, index
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const std::string candidate = Folded(fonts[i]);
        const bool holds = !folded.empty() && candidate.find(folded) != std::string::npos;
        ranked.emplace_back(!holds, EditDistance(candidate, folded), i);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<std::string> names;
    for (std::size_t k = 0; k < ranked.size() && k < kSuggestions; ++k)
        names.push_back(fonts[std::get<2>(ranked[k])]);
    return names;
}

}  // namespace

FontNameMatch MatchFontName(const std::vector<std::string>& fonts, std::string_view typed) {
    if (std::find(fonts.begin(), fonts.end(), typed) != fonts.end()) return {std::string(typed), {}, false};
    const std::string folded = Folded(typed);
    std::vector<std::string> matches;
    for (const auto& font : fonts) {
        if (!folded.empty() && Folded(font) == folded) matches.push_back(font);
    }
    if (matches.size() == 1) return {matches.front(), {}, false};
    if (matches.size() > 1) return {"", matches, true};
    return {"", Nearest(fonts, folded), false};
}

bool IsUnicodeFont(std::string_view fontName) { return Folded(fontName) == Folded(kUnicodeFontName); }

}  // namespace varnex
