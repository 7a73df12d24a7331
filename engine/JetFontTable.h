#pragma once

#include <filesystem>
#include <string_view>

#include "FontTable.h"

namespace varnex {

// True when the first bytes of a file are those of a Jet (Access) database.
bool LooksLikeJetDatabase(std::string_view head);

// Reads font_info from a Jet 4.0 database. Throws Failure.
FontTable ReadJetFontTable(const std::filesystem::path& path);

}  // namespace varnex
