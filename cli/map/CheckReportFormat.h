#pragma once

#include <iosfwd>

#include "maptools/MapCheck.h"
#include "maptools/MapFile.h"

namespace varnex::map {

// One line per finding, naming the file, row and column, then a line per font and a total.
void WriteCheckText(const MapFile& map, const CheckReport& report, std::ostream& out);

// The errors alone, as the program's messages ("varnex: FILE: row ...").
void WriteCheckErrors(const MapFile& map, const CheckReport& report, std::ostream& err);

// The same as a tab-separated table with a header line, for other programs.
void WriteCheckTsv(const MapFile& map, const CheckReport& report, std::ostream& out);

}  // namespace varnex::map
