#include "maptools/MapWriting.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "Failure.h"
#include "files/FileReplacement.h"
#include "map/FontNameMatch.h"
#include "map/SqliteFontMapWriter.h"
#include "maptools/CharacterNames.h"
#include "maptools/FontTableTsvWriter.h"
#include "text/Utf8Characters.h"

namespace varnex::map {

std::string MapText(const MapFile& map) {
    std::ostringstream text;
    try {
        WriteFontTableTsv(map.table, CharacterNames(map.table), text);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), map.path.string() + ": " + failure.Description());
    }
    return text.str();
}

void WriteMapText(const MapFile& map, const std::string& text, const std::filesystem::path& output) {
    RefuseToOverwriteInput(map.path, output);
    ReplaceFile(output, [&](const std::filesystem::path& temporary) { WriteTextFile(temporary, text); });
}

namespace {

std::string CodeList(const std::string& bytes) {
    std::string list;
    for (const char b : bytes)
        list += (list.empty() ? "" : ",") + std::to_string(static_cast<unsigned char>(b));
    return list;
}

}  // namespace

void AddUnicodeFont(MapFile& map) {
    if (map.rowNotes.empty() && !map.table.rows.empty()) {
        throw Failure(kBadFileFormat,
                      map.path.string() +
                          ": the map has no \"#character\" column to write the Unicode font from; "
                          "export it (varnex map export) and fill that column in");
    }
    auto& columns = map.table.columns;
    auto column =
        std::find_if(columns.begin(), columns.end(), [](const auto& name) { return IsUnicodeFont(name); });
    const auto index = static_cast<std::size_t>(column - columns.begin());
    if (column == columns.end()) columns.emplace_back(kUnicodeFontName);
    const auto characters = RowCharacters(map.rowNotes);
    for (std::size_t r = 0; r < map.table.rows.size(); ++r) {
        auto& row = map.table.rows[r];
        FontTable::Cell cell;
        if (characters[r]) cell = CodeList(EncodeUtf8(*characters[r]));
        if (index < row.size()) {
            row[index] = std::move(cell);
        } else {
            row.push_back(std::move(cell));
        }
    }
}

void WriteMapDatabase(const MapFile& map, const std::filesystem::path& output) {
    RefuseToOverwriteInput(map.path, output);
    ReplaceFile(output, [&](const std::filesystem::path& temporary) {
        try {
            WriteSqliteFontMap(temporary, map.table);
        } catch (const std::runtime_error& error) {
            throw Failure(kDatabaseFailure, "\"" + output.string() + "\" cannot be written: " + error.what());
        }
    });
}

}  // namespace varnex::map
