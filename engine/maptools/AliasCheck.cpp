#include "maptools/AliasCheck.h"

#include <algorithm>
#include <optional>

#include "map/FontNameMatch.h"

namespace varnex::map {

namespace {

std::optional<std::size_t> ColumnOf(const FontTable& table, const std::string& font) {
    const auto found = std::find(table.columns.begin(), table.columns.end(), font);
    if (found == table.columns.end()) return std::nullopt;
    return static_cast<std::size_t>(found - table.columns.begin());
}

std::string FontList(const FontTable& table, const std::vector<std::size_t>& columns) {
    std::string list;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        list += (i == 0                    ? ""
                 : i + 1 == columns.size() ? " and "
                                           : ", ") +
                std::string("\"") + table.columns[columns[i]] + "\"";
    }
    return list;
}

Finding AliasError(FindingKind kind, std::size_t column, std::string message) {
    return {Severity::Error, kind, std::nullopt, column, std::nullopt, std::nullopt, std::move(message)};
}

// Each folded alias with its spelling as first declared and the columns declared under it.
struct DeclaredName {
    std::string shown;
    std::vector<std::size_t> columns;
};

std::vector<std::pair<std::string, DeclaredName>> DeclaredNames(const FontTable& table) {
    std::vector<std::pair<std::string, DeclaredName>> names;
    for (const auto& alias : table.aliases) {
        const auto column = ColumnOf(table, alias.font);
        if (!column) continue;  // the readers refuse such an alias; a table made otherwise skips it
        const std::string folded = FoldedFontName(alias.alias);
        auto named =
            std::find_if(names.begin(), names.end(), [&](const auto& n) { return n.first == folded; });
        if (named == names.end()) named = names.insert(names.end(), {folded, {alias.alias, {}}});
        auto& columns = named->second.columns;
        if (std::find(columns.begin(), columns.end(), *column) == columns.end()) columns.push_back(*column);
    }
    return names;
}

void CheckTwoFonts(const FontTable& table, const DeclaredName& name, std::vector<Finding>& findings) {
    if (name.columns.size() < 2) return;
    findings.push_back(AliasError(FindingKind::AliasOfTwoFonts, name.columns.front(),
                                  "the alias \"" + name.shown + "\" is declared for " +
                                      FontList(table, name.columns) +
                                      ": a name typed so is refused as ambiguous"));
}

void CheckFontNames(const FontTable& table, const std::string& folded, const DeclaredName& name,
                    std::vector<Finding>& findings) {
    for (std::size_t other = 0; other < table.columns.size(); ++other) {
        if (FoldedFontName(table.columns[other]) != folded) continue;
        for (std::size_t column : name.columns) {
            if (column == other) continue;
            findings.push_back(AliasError(FindingKind::AliasIsFontName, column,
                                          "the alias \"" + name.shown + "\" is the name of the font \"" +
                                              table.columns[other] +
                                              "\", which a name typed so finds first"));
        }
    }
}

}  // namespace

std::vector<Finding> CheckFontAliases(const FontTable& table) {
    std::vector<Finding> findings;
    for (const auto& [folded, name] : DeclaredNames(table)) {
        CheckTwoFonts(table, name, findings);
        CheckFontNames(table, folded, name, findings);
    }
    return findings;
}

}  // namespace varnex::map
