#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "detect/Symbols.h"
#include "map/LoadedMap.h"

namespace varnex {

// A character as the scoring takes it: its kind, and for a letter its number in its script's
// alphabet (a letter that no model knows is a foreign letter).
struct Coded {
    SymbolKind kind = SymbolKind::NoEntry;
    Script script = Script::None;
    std::uint8_t id = 0;
    bool upper = false;
    std::uint8_t flags = 0;  // SymbolFlag
};

// The Coded form of any character.
Coded CodedOf(char32_t character);

inline constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// How one font of a map reads bytes: the character of each code (through the map's rows and
// its Unicode font), or, for the Unicode font, UTF-8.
struct FontReading {
    std::string font;
    bool unicode = false;
    std::array<char32_t, 256> characters{};  // kNoCharacter where the font has no such code
    std::array<Coded, 256> coded{};
    // per language (Languages::Known().All()): what each code costs alone (ReadingScore::Alone)
    std::vector<std::array<float, 256>> alone;
};

// How one legacy font of a map reads each code (its characters alone, without the scoring
// tables), through the pair font -> `unicode`, the map's Unicode font. Throws Failure.
FontReading CharactersOf(const LoadedMap& map, const std::string& font, const std::string& unicode);
// The name of the map's Unicode font; throws Failure when it has none.
std::string UnicodeFontOf(const LoadedMap& map);

// Every font of a map as the detector reads it, in the map's order. Throws Failure when the
// map has no Unicode font, or a pair of its fonts cannot be built.
std::vector<FontReading> ReadingsOf(const LoadedMap& map);

// Calls `each` with every character of UTF-8 text, kNoCharacter for each ill-formed sequence;
// a sequence cut short by the end of the text is not told.
template <class Each>
void ForEachUtf8(std::string_view text, Each&& each);

// The character of the well-formed UTF-8 sequence at text[i], advancing i; kNoCharacter (and i
// past one byte) when none starts there; 0 (and i unchanged) for a sequence cut short at the end.
char32_t NextUtf8(std::string_view text, std::size_t& i);

template <class Each>
void ForEachUtf8(std::string_view text, Each&& each) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            each(static_cast<char32_t>(byte));
            ++i;
            continue;
        }
        const char32_t c = NextUtf8(text, i);
        if (c == 0) return;
        each(c);
    }
}

}  // namespace varnex
