#pragma once

#include <cstdint>
#include <optional>

namespace varnex {

// The bridge between characters and 8-bit codes through the Windows-1252 code page as Windows
// converts it: 0x80..0x9F to their Windows-1252 characters, the five unassigned codes 0x81,
// 0x8D, 0x8F, 0x90 and 0x9D to U+0081, U+008D, U+008F, U+0090 and U+009D, everything else as
// Latin-1. Word processors and the clipboard keep legacy-font text in this form.
char32_t Windows1252Character(std::uint8_t code);
// nullopt when the character has no code in the code page.
std::optional<std::uint8_t> Windows1252Code(char32_t character);

// Symbol fonts keep their codes 0x20..0xFF as the private-use characters U+F020..U+F0FF.
inline constexpr char32_t kSymbolBase = 0xF000;
inline bool IsSymbolCharacter(char32_t character) { return character >= 0xF020 && character <= 0xF0FF; }

}  // namespace varnex
