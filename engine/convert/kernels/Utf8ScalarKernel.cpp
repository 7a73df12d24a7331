#include <cstring>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "convert/kernels/Kernels.h"
#include "text/Utf8Unit.h"

namespace varnex::kernels {

namespace {

#define VARNEX_ALWAYS_INLINE inline __attribute__((always_inline))

// Out of the loops' way, so that they keep their places in registers.
__attribute__((noinline)) std::uint8_t* PutLong(const FontMap& map, char32_t character, std::uint8_t* out) {
    const std::string_view codes = map.CharacterEntry(character);
    std::memcpy(out, codes.data(), codes.size());
    return out + codes.size();
}

// Stores a packed entry whole (eight bytes) and moves on by its number of codes; a longer
// entry is copied from the map.
VARNEX_ALWAYS_INLINE std::uint8_t* PutPacked(std::uint64_t packed, const FontMap& map, char32_t character,
                                             std::uint8_t* out) {
    const auto length = static_cast<std::uint8_t>(packed >> 56);
    if (__builtin_expect(length == FontMap::kEscape, 0)) return PutLong(map, character, out);
    std::memcpy(out, &packed, 8);
    return out + length;
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

namespace {

// Where the plain decoder has got to; passed and returned by value, so that the loop keeps
// it in registers.
struct Place {
    const std::uint8_t* at;
    std::uint8_t* out;
    bool cutShort;  // stopped before a character cut short by the end of the text
};

// Any unit but an ASCII code or a two-byte sequence, out of the loop's way.
__attribute__((noinline)) Place StepOther(Place p, const std::uint8_t* end, const FontMap& map) {
    const Utf8Unit unit = ReadUtf8Unit(p.at, static_cast<std::size_t>(end - p.at));
    if (unit.cutShort) return {p.at, p.out, true};
    if (unit.wellFormed) p.out = PutPacked(PackedOf(map, unit.character), map, unit.character, p.out);
    p.at += unit.length;
    return p;
}

// One unit at p.at, with a byte after it. An ASCII code or a two-byte sequence goes through
// one table indexed by code point, with arithmetic rather than a branch between the two: in
// Cyrillic or Greek text such a branch would be mispredicted at nearly every blank.
VARNEX_ALWAYS_INLINE Place Step(Place p, const std::uint8_t* end, const std::uint64_t* table,
                                const FontMap& map) {
    const unsigned lead = p.at[0], next = p.at[1];
    const unsigned two =
        static_cast<unsigned>(lead - 0xC2u < 30u) & static_cast<unsigned>((next & 0xC0u) == 0x80u);
    const unsigned ascii = (lead - 0x80u) >> 31;  // not `lead < 0x80`, which may become a branch
    if (__builtin_expect((ascii | two) == 0, 0)) return StepOther(p, end, map);
    const unsigned both = 0u - two;
    const unsigned character = (((lead & 0x1F) << 6 | (next & 0x3F)) & both) | (lead & ~both);
    return {p.at + 1 + two, PutPacked(table[character], map, character, p.out), false};
}

// Which of 64 bytes have bit 7 set, are continuation bytes (10xxxxxx), and are C2..DF, the
// leads of two-byte sequences that are not overlong: bit k for byte k.
struct BlockBits {
    std::uint64_t high, continuation, goodLeads;
};

#if defined(__x86_64__)
inline std::uint64_t Mask(__m128i bytes) { return static_cast<std::uint64_t>(_mm_movemask_epi8(bytes)); }

// SSE2, which every x86-64 processor has: sixteen bytes per step.
inline BlockBits ReadBlock(const std::uint8_t* block) {
    BlockBits bits{0, 0, 0};
#pragma GCC unroll 4
    for (int q = 0; q < 4; ++q) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * q));
        const __m128i fromC2 = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(0xC2)));
        bits.high |= Mask(v) << (16 * q);
        // 80..BF, as signed bytes the ones below C0
        bits.continuation |= Mask(_mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(0xC0)))) << (16 * q);
        bits.goodLeads |= Mask(_mm_cmpeq_epi8(_mm_min_epu8(fromC2, _mm_set1_epi8(29)), fromC2)) << (16 * q);
    }
    return bits;
}
#else
// Eight bytes per word; bit 7 of each byte gathered into eight bits by one multiplication.
inline std::uint64_t Gather(std::uint64_t bit7s) { return ((bit7s >> 7) * 0x0102040810204080ull) >> 56; }

inline BlockBits ReadBlock(const std::uint8_t* block) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    BlockBits bits{0, 0, 0};
    for (int k = 0; k < 8; ++k) {
        std::uint64_t w;
        std::memcpy(&w, block + 8 * k, 8);
        const std::uint64_t high = w & kHigh;
        const std::uint64_t payload = w & 0x1E1E1E1E1E1E1E1Eull;  // zero in C0 and C1
        const std::uint64_t notOverlong = ((payload + 0x7F7F7F7F7F7F7F7Full) | payload) & kHigh;
        bits.high |= Gather(high) << (8 * k);
        bits.continuation |= Gather(high & ~(w << 1)) << (8 * k);
        bits.goodLeads |= Gather(high & (w << 1) & ~(w << 2) & notOverlong) << (8 * k);
    }
    return bits;
}
#endif

// Blocks of 64 bytes lie 63 bytes apart: characters may start in the first 63, and the last
// byte serves only as the one after a lead byte before it (the wide loops' windows, in plain
// code).
constexpr std::size_t kBlockStride = 63;
constexpr std::uint64_t kBlockStarts = ~0ull >> 1;

// The characters of a block that holds nothing but ASCII codes and whole two-byte sequences.
// Their entries are packed.
VARNEX_ALWAYS_INLINE std::uint8_t* PutBlock(const std::uint8_t* block, std::uint64_t starts,
                                            std::uint64_t leads, const std::uint64_t* table,
                                            const FontMap& map, std::uint8_t* out) {
    for (; starts != 0; starts &= starts - 1) {
        const int k = __builtin_ctzll(starts);
        const unsigned lead = block[k], next = block[k + 1];
        const unsigned both = 0u - static_cast<unsigned>(leads >> k & 1);
        const unsigned character = (((lead & 0x1F) << 6 | (next & 0x3F)) & both) | (lead & ~both);
        out = PutPacked(table[character], map, character, out);
    }
    return out;
}

// The same where every entry has one code at most: one lookup by the character's first two
// bytes, without telling ASCII codes from leads, and no branch.
VARNEX_ALWAYS_INLINE std::uint8_t* PutBlockOfSingleCodes(const std::uint8_t* block, std::uint64_t starts,
                                                         const std::uint16_t* entries, std::uint8_t* out) {
    for (; starts != 0; starts &= starts - 1) {
        std::uint16_t firstTwo;
        std::memcpy(&firstTwo, block + static_cast<unsigned>(__builtin_ctzll(starts)), 2);
        const unsigned entry = entries[firstTwo & 0x3FFF];
        *out = static_cast<std::uint8_t>(entry);
        out += entry >> 8;
    }
    return out;
}

// Where a block holds nothing but ASCII codes and whole two-byte sequences, its characters are
// found from its bits, so that no character waits for the length of the one before it;
// elsewhere one unit after another, by the step above. A unit cut short by the end of the
// text is left to DecodeUtf8Units, which holds it back or drops it.
template <bool kSingleCodes>
std::size_t DecodeBlocks(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                         bool more, std::size_t* consumed) {
    const std::uint64_t* table = map.PackedTwoByte().data();
    const std::uint16_t* entries = map.FirstBytesEntries().data();
    const std::uint8_t* const end = in + count;
    std::uint8_t* const start = out;
    Place place{in, out, false};
    std::uint64_t carried = 0;  // the byte before the block leads a two-byte sequence
    while (end - place.at >= 64) {
        const std::uint8_t* block = place.at;
        const BlockBits bits = ReadBlock(block);
        const std::uint64_t leads = bits.high & ~bits.continuation & kBlockStarts;
        if ((leads & ~bits.goodLeads) != 0 || bits.continuation != (leads << 1 | carried)) {
            place.at += carried;
            carried = 0;
            for (const std::uint8_t* stop = block + kBlockStride; place.at < stop && !place.cutShort;)
                place = Step(place, end, table, map);
            continue;
        }
        const std::uint64_t starts = ~bits.continuation & kBlockStarts;
        place.out = kSingleCodes ? PutBlockOfSingleCodes(block, starts, entries, place.out)
                                 : PutBlock(block, starts, leads, table, map, place.out);
        carried = leads >> (kBlockStride - 1);
        place.at = block + kBlockStride;
    }
    place.at += carried;
    while (place.at + 1 < end && !place.cutShort) place = Step(place, end, table, map);
    *consumed = static_cast<std::size_t>(place.at - in);
    if (place.at < end) {
        const Utf8Step last = DecodeUtf8Units(map, in, *consumed, count, count, more, place.out);
        place.out = last.out;
        *consumed = last.next;
    }
    return static_cast<std::size_t>(place.out - start);
}

}  // namespace

std::size_t DecodeUtf8Scalar(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed) {
    return map.AllEntriesSingleOrEmpty() && map.MarkerIsFree()
               ? DecodeBlocks<true>(map, in, count, out, more, consumed)
               : DecodeBlocks<false>(map, in, count, out, more, consumed);
}

}  // namespace varnex::kernels
