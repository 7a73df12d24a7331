#include "MapFile.h"

#include "AsciiText.h"
#include "FontTableTsv.h"

namespace varnex::map {

namespace {

bool IsTextForm(const std::filesystem::path& path) {
    return SameIgnoringCase(path.extension().string(), ".tsv");
}

}  // namespace

MapFile ReadMapFile(const std::filesystem::path& path) {
    MapFile map{path, {}, {}};
    if (IsTextForm(path)) {
        auto text = ReadFontTableTsvWithLines(path);
        map.table = std::move(text.table);
        map.rowLines = std::move(text.rowLines);
    } else {
        map.table = ReadFontTable(path);
    }
    return map;
}

std::string RowPlace(const MapFile& map, std::size_t row) {
    std::string place = "row " + std::to_string(row + 1);
    if (row < map.rowLines.size()) place += " (line " + std::to_string(map.rowLines[row]) + ")";
    return place;
}

}  // namespace varnex::map
