#pragma once

#include <string_view>

namespace varnex {

// True when the text is empty or holds nothing but blanks (code 32).
bool OnlySpaces(std::string_view text);

}  // namespace varnex
