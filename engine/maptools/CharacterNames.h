#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

// For each row, which character it is ("U+0416"): the Unicode font's cell tells, or else the
// first column that is named after a code page that iconv knows and holds a single code in
// that row. Empty where no column tells.
std::vector<std::string> CharacterNames(const FontTable& table);

// The character a "#character" note names by its leading "U+XXXX" (four to six upper-case
// hexadecimal digits, as CharacterNames writes them); nullopt for any other note.
std::optional<char32_t> CharacterOfNote(std::string_view note);
std::vector<std::optional<char32_t>> RowCharacters(const std::vector<std::string>& notes);

}  // namespace varnex::map
