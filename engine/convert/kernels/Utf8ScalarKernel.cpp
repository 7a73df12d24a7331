#include <cstring>

#include "text/Utf8Unit.h"
#include "convert/kernels/Kernels.h"

namespace varnex::kernels {

namespace {

// Stores a packed entry whole (eight bytes) and moves on by its number of codes; a longer
// entry is copied from the map.
inline std::uint8_t* PutPacked(std::uint64_t packed, const FontMap& map, char32_t character,
                               std::uint8_t* out) {
    const auto length = static_cast<std::uint8_t>(packed >> 56);
    if (length != FontMap::kEscape) {
        std::memcpy(out, &packed, 8);
        return out + length;
    }
    const std::string_view codes = map.CharacterEntry(character);
    std::memcpy(out, codes.data(), codes.size());
    return out + codes.size();
}

inline std::uint64_t PackedOf(const FontMap& map, char32_t character) {
    return character < 0x80 ? map.Packed()[character]
                            : map.Characters().PageOf(character >> 6)[character & 0x3F];
}

}  // namespace

Utf8Step DecodeUtf8Units(const FontMap& map, const std::uint8_t* in, std::size_t from, std::size_t stop,
                         std::size_t count, bool more, std::uint8_t* out) {
    const std::uint64_t* ascii = map.Packed().data();
    std::size_t i = from;
    while (i < stop) {
        const std::uint8_t lead = in[i];
        if (lead < 0x80) {
            out = PutPacked(ascii[lead], map, lead, out);
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF && i + 1 < count && (in[i + 1] & 0xC0) == 0x80) {
            const char32_t character = (lead & 0x1F) << 6 | (in[i + 1] & 0x3F);
            out = PutPacked(map.Characters().PageOf(lead & 0x1F)[in[i + 1] & 0x3F], map, character, out);
            i += 2;
            continue;
        }
        const Utf8Unit unit = ReadUtf8Unit(in + i, count - i);
        if (unit.cutShort && more) return {i, out, true};
        if (unit.wellFormed) out = PutPacked(PackedOf(map, unit.character), map, unit.character, out);
        i += unit.length;
    }
    return {i, out, false};
}

// Eight ASCII codes at once where the text has them, one unit at a time elsewhere.
std::size_t DecodeUtf8Scalar(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed) {
    std::uint8_t* const start = out;
    const std::uint64_t* ascii = map.Packed().data();
    std::size_t i = 0;
    while (i < count) {
        if (i + 8 <= count) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                for (int k = 0; k < 8; ++k) out = PutPacked(ascii[in[i + k]], map, in[i + k], out);
                i += 8;
                continue;
            }
        }
        const Utf8Step step = DecodeUtf8Units(map, in, i, i + 1, count, more, out);
        out = step.out;
        i = step.next;
        if (step.held) break;
    }
    *consumed = i;
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels
