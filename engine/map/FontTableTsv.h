#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

#include "map/FontTable.h"

namespace varnex {

// The most font columns a text table may have: what a Jet table holds, and few enough that a
// check of every ordered pair stays quick.
inline constexpr std::size_t kMaxTsvFontColumns = 255;

// A font table read from its text form, with the line of the file each row came from, so
// that a fault can be shown where an editor finds it.
struct TsvFontTable {
    FontTable table;
    std::vector<std::size_t> rowLines;
    std::vector<std::string> rowNotes;  // each row's cell of the leading '#' column, if there is one
};

// Reads a font table kept as tab-separated UTF-8 text with LF line ends: the first line names
// the columns, "\N" stands for NULL, an empty line is skipped. A leading column whose name
// starts with '#' is a reader's note and is not part of the table. A line whose first cell is
// "#alias" declares aliases: "#alias<TAB>FONT<TAB>ALIAS...". A byte order mark, a
// carriage return, a NUL byte, invalid UTF-8, a line with the wrong number of cells or an
// alias that AliasFault refuses throws Failure (kBadFileFormat) naming the line and, where
// there is one, the column.
TsvFontTable ParseFontTableTsvWithLines(std::string_view text);
FontTable ParseFontTableTsv(std::string_view text);

// As above, from a file; the description also names the file.
TsvFontTable ReadFontTableTsvWithLines(const std::filesystem::path& path);
FontTable ReadFontTableTsv(const std::filesystem::path& path);

}  // namespace varnex
