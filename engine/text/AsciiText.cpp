#include "text/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace varnex {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool OnlySpaces(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace varnex
