#include "text/AsciiText.h"

namespace varnex {

bool OnlySpaces(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace varnex
