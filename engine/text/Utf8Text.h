#pragma once

#include <cstddef>
#include <string_view>

namespace varnex {

// The offset of the first byte that does not belong to well-formed UTF-8 (no overlong forms,
// no surrogates, nothing past U+10FFFF), or npos when the whole text is well formed.
std::size_t FirstInvalidUtf8(std::string_view text);

}  // namespace varnex
