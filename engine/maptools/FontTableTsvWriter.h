#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

// Writes table in the form of data/font_info.tsv: a leading "#character" column (what
// characterNames holds for the row, else empty: a database does not say which character a
// row is), "\N" for NULL, and after the first line one "#alias<TAB>FONT<TAB>ALIAS..." line per
// font with aliases. Every cell and alias is
// looked at before the first byte is written: one that the text form cannot hold as it is
// (a tab, line break, NUL, invalid UTF-8, the text "\N") throws Failure naming its row and
// column, and nothing is written.
void WriteFontTableTsv(const FontTable& table, const std::vector<std::string>& characterNames,
                       std::ostream& out);

}  // namespace varnex::map
