#pragma once

#include <filesystem>
#include <string>

#include "FontTable.h"

namespace varnex {

// Reads a font table kept as tab-separated text: the first line names the columns, "\N"
// stands for NULL. A leading column whose name starts with '#' is a reader's note and is
// not part of the table. Throws std::runtime_error naming the line at fault.
FontTable ReadFontTableTsv(const std::filesystem::path& path);
FontTable ParseFontTableTsv(const std::string& text);

}  // namespace varnex
