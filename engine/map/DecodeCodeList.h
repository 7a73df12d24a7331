#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnex {

// A cell's code list ("100,201") as text of one 8-bit character per code.
// Throws Failure for an empty list, an empty or non-numeric piece, a code outside 0..255
// and a list of 256 or more pieces.
std::string DecodeCodeList(std::string_view list);

// The character whose UTF-8 form a cell of the Unicode font holds ("208,150" is U+0416).
// Throws Failure when the list does not decode, or when its codes are not exactly one
// well-formed UTF-8 character from U+0001 on.
char32_t DecodeCharacterCell(std::string_view list);

// A whole decimal number of any count of digits, with optional blanks around it; nullopt
// for anything else. A number too large for long reads as the largest long.
std::optional<long> ParseWholeNumber(std::string_view text);

}  // namespace varnex
