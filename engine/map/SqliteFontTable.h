#pragma once

#include <filesystem>

#include "map/FontTable.h"

namespace varnex {

inline constexpr char kSqliteSignature[] = "SQLite format 3";

// Reads font_info from an SQLite database, opened read-only, with the aliases of the table
// font_aliases (font TEXT, alias TEXT) where the database has one. Throws Failure, also for an
// alias that AliasFault refuses.
FontTable ReadSqliteFontTable(const std::filesystem::path& path, TableExtent extent);

}  // namespace varnex
