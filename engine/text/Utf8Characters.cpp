#include "text/Utf8Characters.h"

#include "text/Utf8Unit.h"

namespace varnex {

char32_t NextCharacter(std::string_view text, std::size_t& i) {
    const Utf8Unit unit =
        ReadUtf8Unit(reinterpret_cast<const std::uint8_t*>(text.data()) + i, text.size() - i);
    if (!unit.wellFormed) {
        ++i;
        return 0xFFFD;
    }
    i += unit.length;
    return unit.character;
}

std::string EncodeUtf8(char32_t character) {
    const auto byte = [](char32_t value) { return static_cast<char>(value); };
    if (character < 0x80) return {byte(character)};
    if (character < 0x800) return {byte(0xC0 | character >> 6), byte(0x80 | (character & 0x3F))};
    if (character < 0x10000) {
        return {byte(0xE0 | character >> 12), byte(0x80 | (character >> 6 & 0x3F)),
                byte(0x80 | (character & 0x3F))};
    }
    return {byte(0xF0 | character >> 18), byte(0x80 | (character >> 12 & 0x3F)),
            byte(0x80 | (character >> 6 & 0x3F)), byte(0x80 | (character & 0x3F))};
}

void AppendUtf8(std::string& text, char32_t character) { text += EncodeUtf8(character); }

}  // namespace varnex
