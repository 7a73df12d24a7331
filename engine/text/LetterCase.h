#pragma once

#include <string>
#include <string_view>

namespace varnex {

// Letter case of names (font names, file names) in UTF-8, for every letter of every script
// that has case, one character at a time. Bytes that are not well-formed UTF-8 are kept as
// they are and only ever equal themselves.
std::string UpperCase(std::string_view text);

// True when the two texts differ at most in the letter case of their characters.
bool SameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace varnex
