#pragma once

#include <filesystem>
#include <string>

#include "maptools/MapFile.h"

namespace varnex::map {

// The map's table as the text form of data/font_info.tsv, with each row's character where a
// column tells (CharacterNames). Throws Failure naming the map when a cell cannot be written
// in that form.
std::string MapText(const MapFile& map);

// Writes text to output through a temporary file beside it; never over the map it was made
// from. Throws Failure.
void WriteMapText(const MapFile& map, const std::string& text, const std::filesystem::path& output);

// Gives the map the Unicode font, written from each row's "#character" note (its leading
// U+XXXX): the character's UTF-8 bytes as a code list, NULL for a row without one. A column
// that is already the Unicode font is written anew. Throws Failure for a map without
// "#character" notes (only the text form has them).
void AddUnicodeFont(MapFile& map);

// Writes the map's table as an SQLite font map at output, in the same way. Throws Failure.
void WriteMapDatabase(const MapFile& map, const std::filesystem::path& output);

}  // namespace varnex::map
