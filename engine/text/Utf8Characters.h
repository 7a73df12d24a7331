#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnex {

// The character at text[i] of well-formed UTF-8; advances i past it. A byte that starts no
// well-formed sequence gives U+FFFD and advances by one.
char32_t NextCharacter(std::string_view text, std::size_t& i);

// The UTF-8 form of a character (U+0000..U+10FFFF, no surrogate).
std::string EncodeUtf8(char32_t character);
void AppendUtf8(std::string& text, char32_t character);

}  // namespace varnex
