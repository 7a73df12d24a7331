#include "maptools/MapFile.h"

#include "Failure.h"
#include "map/FontTableTsv.h"
#include "text/LetterCase.h"

namespace varnex::map {

namespace {

bool IsTextForm(const std::filesystem::path& path) {
    return SameIgnoringCase(path.extension().string(), ".tsv");
}

}  // namespace

MapFile ReadMapFile(const std::filesystem::path& path) {
    MapFile map{path, {}, {}, {}};
    if (IsTextForm(path)) {
        auto text = ReadFontTableTsvWithLines(path);
        map.table = std::move(text.table);
        map.rowLines = std::move(text.rowLines);
        map.rowNotes = std::move(text.rowNotes);
    } else {
        map.table = ReadFontTable(path);
    }
    // a check or a diff looks at every ordered pair: a table past what Jet holds would take
    // hours, and no program could list its fonts
    if (map.table.columns.size() > kMaxTsvFontColumns) {
        throw Failure(kBadFileFormat, "\"" + path.string() + "\" holds " +
                                          std::to_string(map.table.columns.size()) +
                                          " fonts, more than the " + std::to_string(kMaxTsvFontColumns) +
                                          " a font map can hold.");
    }
    return map;
}

std::string RowPlace(const MapFile& map, std::size_t row) {
    std::string place = "row " + std::to_string(row + 1);
    if (row < map.rowLines.size()) place += " (line " + std::to_string(map.rowLines[row]) + ")";
    return place;
}

}  // namespace varnex::map
