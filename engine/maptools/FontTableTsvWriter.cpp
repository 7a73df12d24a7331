#include "maptools/FontTableTsvWriter.h"

#include <algorithm>
#include <ostream>

#include "Failure.h"
#include "maptools/CellReading.h"
#include "text/Utf8Text.h"

namespace varnex::map {

namespace {

constexpr char kNull[] = "\\N";

// Why the text form cannot hold text unchanged, or nullptr when it can.
const char* Unwritable(const std::string& text) {
    if (text.find_first_of(std::string("\t\n\r\0", 4)) != std::string::npos) {
        return "holds a tab, line break or NUL byte";
    }
    if (FirstInvalidUtf8(text) != std::string::npos) return "is not valid UTF-8";
    return nullptr;
}

void CheckColumns(const FontTable& table) {
    if (table.columns.empty()) throw Failure(kBadFileFormat, "the table has no columns to write");
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (const char* why = Unwritable(table.columns[c])) {
            throw Failure(kBadFileFormat, "the name of column " + std::to_string(c + 1) + " " +
                                              Shown(table.columns[c]) + " " + why +
                                              ", which the text form cannot hold");
        }
    }
}

void CheckCells(const FontTable& table) {
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (table.rows[r].size() != table.columns.size()) {
            throw Failure(kBadFileFormat, "row " + std::to_string(r + 1) + " has " +
                                              std::to_string(table.rows[r].size()) + " cells for " +
                                              std::to_string(table.columns.size()) + " columns");
        }
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const auto& cell = table.rows[r][c];
            if (!cell) continue;
            const char* why =
                *cell == kNull ? "is the text \\N, which the text form reads as NULL" : Unwritable(*cell);
            if (why) {
                throw Failure(kBadFileFormat, "row " + std::to_string(r + 1) + ", column \"" +
                                                  OneLine(table.columns[c]) + "\": the cell " + Shown(*cell) +
                                                  " " + why + ", which the text form cannot hold");
            }
        }
    }
}

void CheckAliases(const FontTable& table) {
    for (const auto& alias : table.aliases) {
        if (const char* why = Unwritable(alias.alias)) {
            throw Failure(kBadFileFormat, "the alias " + Shown(alias.alias) + " of the font \"" +
                                              OneLine(alias.font) + "\" " + why +
                                              ", which the text form cannot hold");
        }
    }
}

// One line per font that has aliases, in the order of their first alias: "#alias FONT ALIAS...".
void WriteAliasLines(const std::vector<FontAlias>& aliases, std::ostream& out) {
    std::vector<std::string> written;
    for (const auto& first : aliases) {
        if (std::find(written.begin(), written.end(), first.font) != written.end()) continue;
        written.push_back(first.font);
        out << "#alias\t" << first.font;
        for (const auto& alias : aliases) {
            if (alias.font == first.font) out << '\t' << alias.alias;
        }
        out << '\n';
    }
}

}  // namespace

void WriteFontTableTsv(const FontTable& table, const std::vector<std::string>& characterNames,
                       std::ostream& out) {
    CheckColumns(table);
    CheckCells(table);
    CheckAliases(table);
    out << "#character";
    for (const auto& name : table.columns) out << '\t' << name;
    out << '\n';
    WriteAliasLines(table.aliases, out);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (r < characterNames.size()) out << characterNames[r];
        for (const auto& cell : table.rows[r]) out << '\t' << (cell ? *cell : std::string(kNull));
        out << '\n';
    }
}

}  // namespace varnex::map
