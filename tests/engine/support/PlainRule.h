#pragma once

// The character rule written the plain way, to check the fast paths against: for a map of
// codes one code at a time, for a map that reads UTF-8 one character at a time, decoded here
// by a way of its own (a candidate is taken as a character when it encodes back to itself).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/CharacterRule.h"
#include "convert/FontMap.h"

namespace varnex::test {

// The UTF-8 form of a code point, in the plain way.
inline std::string EncodeUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

inline int LengthFromLead(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
}

inline bool IsCharacter(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// The code points whose form starts with the `k` bytes at `text`: all those between the
// prefix filled up with 0x80s and with 0xBFs, if the prefix itself is of the right shape.
inline bool StartsSomeCharacter(std::string_view text, std::size_t k) {
    const int length = LengthFromLead(static_cast<unsigned char>(text[0]));
    if (length < 2 || static_cast<int>(k) > length) return length == 1 && k == 1;
    char32_t low = static_cast<unsigned char>(text[0]) & (0x7F >> length), high = low;
    for (int i = 1; i < length; ++i) {
        const auto b = i < static_cast<int>(k) ? static_cast<unsigned char>(text[i]) : 0;
        if (i < static_cast<int>(k) && (b & 0xC0) != 0x80) return false;
        low = low << 6 | (i < static_cast<int>(k) ? (b & 0x3F) : 0x00);
        high = high << 6 | (i < static_cast<int>(k) ? (b & 0x3F) : 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (high < least || low > 0x10FFFF) return false;
    return !(low >= 0xD800 && high <= 0xDFFF);
}

inline std::string PlainUtf8Rule(const FontMap& map, std::string_view text) {
    std::string out;
    std::size_t i = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (i < text.size()) {
        const int length = LengthFromLead(static_cast<unsigned char>(text[i]));
        if (length > 0 && i + length <= text.size()) {
            char32_t c = static_cast<unsigned char>(text[i]) & (length == 1 ? 0x7F : 0x7F >> length);
            for (int k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            if (IsCharacter(c) && EncodeUtf8(c) == text.substr(i, length)) {
                out += map.CharacterEntry(c);
                i += length;
                continue;
            }
        }
        std::size_t bad = 1;
        while (i + bad < text.size() && StartsSomeCharacter(text.substr(i), bad + 1)) ++bad;
        i += bad;
    }
    return out;
}

// Ill-formed UTF-8 of every kind: lone continuation bytes, bytes that start nothing, overlong
// forms, a surrogate, past U+10FFFF, sequences cut short, and a byte order mark (ill-formed
// nowhere, dropped at the start of a text).
inline const char* const kIllFormedUtf8[] = {"\x80",
                                             "\xBF",
                                             "\xC0\xAF",
                                             "\xC1",
                                             "\xF5",
                                             "\xFF",
                                             "\xE0\x80\x80",
                                             "\xED\xA0\x80",
                                             "\xF0\x80\x80\x80",
                                             "\xF4\x90\x80\x80",
                                             "\xE2\x82",
                                             "\xF0\x9F\x98",
                                             "\xD0",
                                             "\xEF\xBB\xBF",
                                             "\xE0\xA0"};

// What a conversion path makes of a whole text, to hold against the plain rule.
inline std::string ConvertAt(VectorLevel level, const FontMap& map, std::string_view input) {
    std::vector<std::uint8_t> out(ConvertedCapacity(map, input.size()));
    const std::size_t n = ConvertCodesAt(level, map, reinterpret_cast<const std::uint8_t*>(input.data()),
                                         input.size(), out.data());
    return std::string(reinterpret_cast<const char*>(out.data()), n);
}

inline std::string PlainRule(const FontMap& map, std::string_view input) {
    if (map.ReadsUtf8()) return PlainUtf8Rule(map, input);
    std::string out;
    for (const char c : input) {
        const auto code = static_cast<unsigned char>(c);
        if (code != 0) out += map.Entry(code);
    }
    return out;
}

}  // namespace varnex::test
