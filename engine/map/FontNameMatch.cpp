#include "map/FontNameMatch.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <tuple>

#include "map/FontAliases.h"

namespace varnex {

namespace {

constexpr std::size_t kSuggestions = 3;

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
        const std::string candidate = FoldedFontName(fonts[i]);
        const bool holds = !folded.empty() && candidate.find(folded) != std::string::npos;
        ranked.emplace_back(!holds, EditDistance(candidate, folded), i);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<std::string> names;
    for (std::size_t k = 0; k < ranked.size() && k < kSuggestions; ++k)
        names.push_back(fonts[std::get<2>(ranked[k])]);
    return names;
}

// One font found, several (ambiguous), or none (nullopt: the next way of matching is tried).
std::optional<FontNameMatch> Decided(const std::vector<std::string>& candidates) {
    if (candidates.empty()) return std::nullopt;
    if (candidates.size() == 1) return FontNameMatch{candidates.front(), {}, false};
    return FontNameMatch{"", candidates, true};
}

// The fonts, in table order, for which `fits` holds.
template <class Fits>
std::vector<std::string> FontsWhere(const std::vector<std::string>& fonts, Fits fits) {
    std::vector<std::string> found;
    for (const auto& font : fonts) {
        if (fits(font)) found.push_back(font);
    }
    return found;
}

std::vector<std::string> WithFoldedName(const std::vector<std::string>& fonts, const std::string& folded) {
    return FontsWhere(fonts, [&](const std::string& font) { return FoldedFontName(font) == folded; });
}

std::vector<std::string> WithPrefix(const std::vector<std::string>& fonts, const std::string& folded) {
    return FontsWhere(fonts,
                      [&](const std::string& font) { return FoldedFontName(font).starts_with(folded); });
}

std::vector<std::string> WithMapAlias(const FontTable& table, const std::string& folded) {
    return FontsWhere(table.columns, [&](const std::string& font) {
        return std::any_of(table.aliases.begin(), table.aliases.end(), [&](const FontAlias& alias) {
            return alias.font == font && FoldedFontName(alias.alias) == folded;
        });
    });
}

std::vector<std::string> WithCodePageName(const std::vector<std::string>& fonts, const std::string& folded) {
    return FontsWhere(fonts, [&](const std::string& font) {
        const auto& names = CodePageNamesOf(font);
        return std::any_of(names.begin(), names.end(),
                           [&](std::string_view name) { return FoldedFontName(name) == folded; });
    });
}

// The ways after the aliases: a name that begins several fonts' names, then the nearest.
FontNameMatch PrefixOrNearest(const std::vector<std::string>& fonts, const std::string& folded) {
    if (!folded.empty()) {
        const std::vector<std::string> begun = WithPrefix(fonts, folded);
        if (begun.size() > 1) return {"", begun, true};
    }
    return {"", Nearest(fonts, folded), false};
}

// The ways of matching in their order; the aliases only where there is a table.
FontNameMatch Matched(const std::vector<std::string>& fonts, std::string_view typed, const FontTable* table) {
    if (std::find(fonts.begin(), fonts.end(), typed) != fonts.end()) return {std::string(typed), {}, false};
    const std::string folded = FoldedFontName(typed);
    if (folded.empty()) return {"", Nearest(fonts, folded), false};
    if (auto match = Decided(WithFoldedName(fonts, folded))) return *match;
    if (table) {
        if (auto match = Decided(WithMapAlias(*table, folded))) return *match;
        if (auto match = Decided(WithCodePageName(fonts, folded))) return *match;
    }
    return PrefixOrNearest(fonts, folded);
}

}  // namespace

std::string FoldedFontName(std::string_view name) {
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

FontNameMatch MatchFontName(const std::vector<std::string>& fonts, std::string_view typed) {
    return Matched(fonts, typed, nullptr);
}

FontNameMatch MatchFontName(const FontTable& table, std::string_view typed) {
    return Matched(table.columns, typed, &table);
}

bool IsUnicodeFont(std::string_view fontName) {
    return FoldedFontName(fontName) == FoldedFontName(kUnicodeFontName);
}

}  // namespace varnex
