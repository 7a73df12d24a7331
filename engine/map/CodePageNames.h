#pragma once

#include <string_view>
#include <vector>

namespace varnex {

// The usual names of each code page that fonts are named after (iconv's, the browsers'), one
// family per code page, each folded name once (CodePageNames.cpp says where they come from).
const std::vector<std::vector<std::string_view>>& CodePageNameFamilies();

}  // namespace varnex
