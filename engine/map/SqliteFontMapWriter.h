#pragma once

#include <filesystem>
#include <string>

#include "map/FontTable.h"

namespace varnex {

// Writes table as the table `tableName` of a new SQLite database at path (replacing the
// file). Cells are stored as text, nulls as NULL; the table's aliases, where it has some, as
// the table font_aliases (font, alias). Throws std::runtime_error.
void WriteSqliteFontMap(const std::filesystem::path& path, const FontTable& table,
                        const std::string& tableName = "font_info");

}  // namespace varnex
