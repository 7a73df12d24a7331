#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnex {

// A further name a map gives one of its fonts (a column of font_info).
struct FontAlias {
    std::string font;
    std::string alias;
    bool operator==(const FontAlias&) const = default;
};

// The table font_info as the loaders see it, whatever file format it came from:
// column names in table order, rows in query order, each cell null or text (UTF-8); and the
// aliases the map declares, in its order (none for a map that declares none).
struct FontTable {
    using Cell = std::optional<std::string>;
    std::vector<std::string> columns;
    std::vector<std::vector<Cell>> rows;
    std::vector<FontAlias> aliases = {};
};

// How much of font_info a caller needs; a reader may hand over more.
enum class TableExtent {
    Whole,
    ColumnsAndFirstRow,  // the font list: the column names, and whether there is a row at all
};

// Reads font_info from the font map database at path. The file is held exclusively for
// the time of the read only; the format is picked from its first bytes. Throws Failure.
FontTable ReadFontTable(const std::filesystem::path& path, TableExtent extent = TableExtent::Whole);

}  // namespace varnex
