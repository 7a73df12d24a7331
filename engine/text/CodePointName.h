#pragma once

#include <string>

namespace varnex {

// A character as Unicode names it: "U+" and at least four hexadecimal digits ("U+0416",
// "U+1F600").
std::string CodePointName(char32_t character);

}  // namespace varnex
