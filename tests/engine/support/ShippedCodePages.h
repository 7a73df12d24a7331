#pragma once

#include <vector>

namespace varnex::test {

// The code pages of the shipped map, by their font names and the names iconv knows them by.
struct CodePage {
    const char* font;
    const char* iconvName;
};
inline const std::vector<CodePage> kCodePages = {
    {"KOI8-R", "KOI8-R"}, {"KOI8-U", "KOI8-U"},         {"Windows-1251", "CP1251"},
    {"CP866", "CP866"},   {"ISO-8859-5", "ISO-8859-5"}, {"Mac Cyrillic", "MAC-CYRILLIC"},
    {"CP855", "CP855"},   {"CP1125", "CP1125"},         {"MIK", "MIK"},
};

}  // namespace varnex::test
