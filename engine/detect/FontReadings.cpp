#include "detect/FontReadings.h"

#include "Failure.h"
#include "detect/Languages.h"
#include "detect/ReadingScore.h"
#include "map/FontLoaders.h"
#include "map/FontNameMatch.h"

namespace varnex {

Coded CodedOf(char32_t character) {
    const Symbol symbol = SymbolOf(character);
    if (symbol.kind != SymbolKind::Letter)
        return {symbol.kind, Script::None, symbol.index, false, symbol.flags};
    const std::uint8_t id = Languages::Known().AlphabetOf(symbol.script).Id(symbol.index);
    if (id == Alphabet::kUnknown) return {SymbolKind::ForeignLetter};
    return {SymbolKind::Letter, symbol.script, id, symbol.upper};
}

char32_t NextUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0) {
        ++i;
        return kNoCharacter;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size()) {
            i = text.size();
            return 0;
        }
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            i += k;
            return kNoCharacter;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += length;
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kNoCharacter;
    return c;
}

FontReading CharactersOf(const LoadedMap& map, const std::string& font, const std::string& unicode) {
    FontReading reading{font, false, {}, {}, {}};
    reading.characters.fill(kNoCharacter);
    try {
        ForEachPairEntry(
            map.table, font, unicode,
            [&](int code, const std::string& entry) {
                std::size_t i = 0;
                const char32_t c = entry.empty() ? kNoCharacter
                                   : static_cast<unsigned char>(entry[0]) < 0x80
                                       ? static_cast<unsigned char>(entry[i++])
                                       : NextUtf8(entry, i);
                const bool one = c != 0 && c != kNoCharacter && i == entry.size();
                reading.characters[static_cast<std::size_t>(code)] = one ? c : kNoCharacter;
            },
            [](char32_t, const std::string&) {});
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), map.path.string() + ": " + failure.Description());
    }
    return reading;
}

std::string UnicodeFontOf(const LoadedMap& map) {
    for (const auto& font : map.table.columns) {
        if (IsUnicodeFont(font)) return font;
    }
    throw Failure(kItemNotFound, map.path.string() + ": the map has no font \"" + kUnicodeFontName +
                                     "\"; the detector reads every font through it");
}

namespace {

// The character of each code, and what it costs in each language, for the scoring.
FontReading LegacyReading(const LoadedMap& map, const std::string& font, const std::string& unicode) {
    FontReading reading = CharactersOf(map, font, unicode);
    for (std::size_t code = 0; code < 256; ++code) {
        const char32_t c = reading.characters[code];
        reading.coded[code] = c == kNoCharacter ? Coded{SymbolKind::NoEntry} : CodedOf(c);
    }
    for (std::size_t l = 0; l < Languages::Known().All().size(); ++l) {
        const ReadingScore score = ScoreIn(l);
        auto& costs = reading.alone.emplace_back();
        for (std::size_t code = 0; code < 256; ++code)
            costs[code] = static_cast<float>(score.Alone(reading.coded[code]));
    }
    return reading;
}

}  // namespace

std::vector<FontReading> ReadingsOf(const LoadedMap& map) {
    const std::string unicode = UnicodeFontOf(map);
    std::vector<FontReading> readings;
    for (const auto& font : map.table.columns) {
        if (font == unicode) {
            readings.push_back({font, true, {}, {}, {}});
        } else {
            readings.push_back(LegacyReading(map, font, unicode));
        }
    }
    return readings;
}

}  // namespace varnex
