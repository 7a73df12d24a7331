#include "map/FontLoaders.h"

#include <algorithm>
#include <functional>

#include "Failure.h"
#include "map/DecodeCodeList.h"
#include "map/FontNameMatch.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

// Column names are matched as the database engines match them: letter case aside. An
// exact match is preferred should two names differ only in case.
std::size_t FindColumn(const FontTable& table, std::string_view font) {
    const auto& columns = table.columns;
    auto found = std::find(columns.begin(), columns.end(), font);
    if (found == columns.end()) {
        found = std::find_if(columns.begin(), columns.end(),
                             [&](const std::string& name) { return SameIgnoringCase(name, font); });
    }
    if (font.empty() || found == columns.end()) {
        const std::string shown = font.empty() ? "(no font chosen)" : "\"" + std::string(font) + "\"";
        throw Failure(kItemNotFound, "The font " + shown + " is not in the font map.");
    }
    return static_cast<std::size_t>(found - columns.begin());
}

std::string RowContext(std::size_t rowIndex) {
    return "Row " + std::to_string(rowIndex + 1) + " of font_info: ";
}

int SourceCode(const std::string& cell, std::string_view font, std::size_t rowIndex) {
    const auto value = ParseWholeNumber(cell);
    if (!value || *value < 1 || *value > 255) {
        throw Failure(value ? kOverflow : kTypeMismatch, RowContext(rowIndex) + "the source font \"" +
                                                             std::string(font) + "\" has the cell \"" + cell +
                                                             "\", which is not a code from 1 to 255.");
    }
    return static_cast<int>(*value);
}

char32_t SourceCharacter(const std::string& cell, std::string_view font, std::size_t rowIndex) {
    try {
        return DecodeCharacterCell(cell);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), RowContext(rowIndex) + "the source font \"" + std::string(font) +
                                            "\": " + failure.Description());
    }
}

void SetCharacterEntry(FontMap& map, char32_t character, std::string_view codes) {
    if (character < 0x80) {
        map.Set(static_cast<int>(character), codes);
    } else {
        map.SetCharacter(character, codes);
    }
}

std::string TargetCodes(const std::string& cell, std::string_view font, std::size_t rowIndex) {
    try {
        return DecodeCodeList(cell);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), RowContext(rowIndex) + "the target font \"" + std::string(font) +
                                            "\": " + failure.Description());
    }
}

}  // namespace

std::vector<std::string> LoadFontList(const std::filesystem::path& database) {
    FontTable table = ReadFontTable(database, TableExtent::ColumnsAndFirstRow);
    if (table.rows.empty()) {
        throw Failure(kDatabaseFailure,
                      "The table font_info in \"" + database.string() + "\" holds no rows.");
    }
    return std::move(table.columns);
}

void LoadFontMap(const std::filesystem::path& database, std::string_view source, std::string_view target,
                 FontMap& map) {
    BuildFontMap(ReadFontTable(database), source, target, map);
}

void ForEachPairEntry(
    const FontTable& table, std::string_view source, std::string_view target,
    const std::function<void(int code, const std::string& codes)>& codeEntry,
    const std::function<void(char32_t character, const std::string& codes)>& characterEntry) {
    const std::size_t sourceColumn = FindColumn(table, source);
    const std::size_t targetColumn = FindColumn(table, target);
    // A table emptied while the program runs would otherwise give an empty map, and a
    // conversion that drops every character.
    if (table.rows.empty()) throw Failure(kDatabaseFailure, "The table font_info holds no rows.");
    // The Unicode font's cells are whole characters: each converts as a unit, and a cell of
    // several codes is one character, not a list to skip.
    const bool unicodeSource = IsUnicodeFont(table.columns[sourceColumn]);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const auto& row = table.rows[i];
        const auto& s = row[sourceColumn];
        if (!s || s->empty() || (!unicodeSource && s->find(',') != std::string::npos)) continue;
        const auto& t = row[targetColumn];
        if (!t) continue;
        const std::string codes = TargetCodes(*t, target, i);
        if (unicodeSource) {
            characterEntry(SourceCharacter(*s, source, i), codes);
        } else {
            codeEntry(SourceCode(*s, source, i), codes);
        }
    }
}

void BuildFontMap(const FontTable& table, std::string_view source, std::string_view target, FontMap& map) {
    const std::size_t sourceColumn = FindColumn(table, source);
    FindColumn(table, target);
    // the map is left as it was when the table cannot give one
    if (table.rows.empty()) throw Failure(kDatabaseFailure, "The table font_info holds no rows.");
    map.Clear();
    if (IsUnicodeFont(table.columns[sourceColumn])) map.ReadUtf8();
    ForEachPairEntry(
        table, source, target, [&](int code, const std::string& codes) { map.Set(code, codes); },
        [&](char32_t character, const std::string& codes) { SetCharacterEntry(map, character, codes); });
    map.PreparePairs();
}

}  // namespace varnex
