#pragma once

#include <vector>

#include "map/FontTable.h"
#include "maptools/MapCheck.h"

namespace varnex::map {

// The faults of the aliases a map declares, as errors, each about the column of the alias's
// font: an alias that two fonts are declared under (a name typed so is refused as ambiguous),
// and an alias that is another font's name, letter case, blanks and punctuation aside (that
// name finds the other font first, so the alias never finds its own). Aliases are compared
// folded, as typed names are.
std::vector<Finding> CheckFontAliases(const FontTable& table);

}  // namespace varnex::map
