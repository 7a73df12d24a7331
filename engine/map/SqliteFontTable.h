#pragma once

#include <filesystem>

#include "map/FontTable.h"

namespace varnex {

inline constexpr char kSqliteSignature[] = "SQLite format 3";

// Reads font_info from an SQLite database, opened read-only. Throws Failure.
FontTable ReadSqliteFontTable(const std::filesystem::path& path, TableExtent extent);

}  // namespace varnex
