#pragma once

#include <string>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

// A cell as the load reads it when its column is the source font.
struct SourceReading {
    enum class Kind { Skipped, Code, Bad } kind = Kind::Skipped;
    int code = 0;
    std::string fault;  // for Bad: why the load stops here
};

// A cell as the load reads it when its column is the target font.
struct TargetReading {
    enum class Kind { Null, Codes, Bad } kind = Kind::Null;
    std::string codes;  // for Codes: one 8-bit code per character
    std::string fault;  // for Bad
};

SourceReading ReadAsSource(const FontTable::Cell& cell);
// A cell of the Unicode font as a source: `code` is the code point of its one character.
SourceReading ReadAsUnicodeSource(const FontTable::Cell& cell);
TargetReading ReadAsTarget(const FontTable::Cell& cell);

// The text with its control bytes escaped, so that it cannot break a line of a report.
std::string OneLine(const std::string& text);

// A cell's text for a one-line message: quoted, control bytes escaped, long texts cut short.
std::string Shown(const std::string& text);

// Codes as a short list of runs: "3, 7-9, 200".
std::string CodeRuns(const std::vector<int>& sortedCodes);
// Characters the same way: "U+0080-U+0083, U+0416".
std::string CharacterRuns(const std::vector<int>& sortedCharacters);

}  // namespace varnex::map
