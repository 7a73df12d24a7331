#pragma once

#include <cstddef>
#include <cstdint>

namespace varnex {

// What a UTF-8 text holds at one place: a well-formed character, or the bytes that cannot be
// one. Ill-formed bytes are taken as the longest start of a sequence that the text holds
// (at least one byte), so that no well-formed character after them is ever swallowed: a
// lone continuation byte, a byte that never starts a sequence (C0, C1, F5..FF), an overlong
// form or a surrogate is one byte, E2 82 followed by a letter is two.
struct Utf8Unit {
    char32_t character = 0;  // for a well-formed unit
    std::uint8_t length = 0;
    bool wellFormed = false;
    bool cutShort = false;  // the text ends inside a sequence that was well formed so far
};

// The unit at the start of text[0..available), available > 0.
inline Utf8Unit ReadUtf8Unit(const std::uint8_t* text, std::size_t available) {
    const std::uint8_t lead = text[0];
    if (lead < 0x80) return {lead, 1, true, false};
    int length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // below: overlong
        if (lead == 0xED) high = 0x9F;  // above: surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // below: overlong
        if (lead == 0xF4) high = 0x8F;  // above: past U+10FFFF
    } else {
        return {0, 1, false, false};
    }
    char32_t character = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (static_cast<std::size_t>(k) >= available) return {0, static_cast<std::uint8_t>(k), false, true};
        const std::uint8_t byte = text[k];
        if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF))
            return {0, static_cast<std::uint8_t>(k), false, false};
        character = character << 6 | (byte & 0x3F);
    }
    return {character, static_cast<std::uint8_t>(length), true, false};
}

}  // namespace varnex
