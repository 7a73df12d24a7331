#pragma once

#include <string>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

// For each row, which character it is ("U+0416"), where a column is named after a code page
// that iconv knows and holds a single code in that row; the first such column decides.
// Empty where no column tells.
std::vector<std::string> CharacterNames(const FontTable& table);

}  // namespace varnex::map
