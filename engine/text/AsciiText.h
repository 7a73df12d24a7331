#pragma once

#include <string>
#include <string_view>

namespace varnex {

// Letter case as the old system's comparisons saw it: ASCII letters only.
bool SameIgnoringCase(std::string_view a, std::string_view b);
std::string UpperCase(std::string text);

// True when the text is empty or holds nothing but blanks (code 32).
bool OnlySpaces(std::string_view text);

}  // namespace varnex
