#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

// A font map as the toolkit reads it: the table, and for the text form the line each row
// came from.
struct MapFile {
    std::filesystem::path path;
    FontTable table;
    std::vector<std::size_t> rowLines;  // empty for a database
    std::vector<std::string> rowNotes;  // the text form's "#character" cells; empty elsewhere
};

// The text form is told by its name (".tsv"); anything else is read as a database, SQLite
// or Jet 4.0 by its first bytes. A table of more than 255 fonts is refused. Throws Failure,
// whose description names the file.
MapFile ReadMapFile(const std::filesystem::path& path);

// "row 12" for a database, "row 12 (line 14)" for the text form.
std::string RowPlace(const MapFile& map, std::size_t row);

}  // namespace varnex::map
