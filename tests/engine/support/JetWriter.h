#pragma once

#include <string>

#include "map/FontTable.h"

namespace varnex::test {

// A Jet 4.0 database holding `table` as font_info, every column text (up to 255
// characters, stored as UCS-2), NULL kept apart from empty text. The first four pages
// (file header, usage maps, the table of tables and its one row for font_info) come from
// `templateFile`, a small good Jet file whose font_info definition is on page 4.
std::string WriteJetFontMap(const FontTable& table, const std::string& templateFile);

}  // namespace varnex::test
