#include "maptools/FontTableTsvWriter.h"

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

}  // namespace

void WriteFontTableTsv(const FontTable& table, const std::vector<std::string>& characterNames,
                       std::ostream& out) {
    CheckColumns(table);
    CheckCells(table);
    out << "#character";
    for (const auto& name : table.columns) out << '\t' << name;
    out << '\n';
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (r < characterNames.size()) out << characterNames[r];
        for (const auto& cell : table.rows[r]) out << '\t' << (cell ? *cell : std::string(kNull));
        out << '\n';
    }
}

}  // namespace varnex::map
