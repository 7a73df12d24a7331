#include <cstring>
#include <string_view>

#include "Kernels.h"

namespace varnex::kernels {

namespace {

// One code at a time: `out` moves on only past a kept code.
std::uint8_t* KeepEach(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    const std::uint8_t* value = map.ByteValues().data();
    const std::uint8_t* keep = map.ByteKeeps().data();
    for (std::size_t i = 0; i < count; ++i) {
        *out = value[in[i]];
        out += keep[in[i]];
    }
    return out;
}

}  // namespace

// Eight codes per step, each stored at its own place as though none were dropped, so that
// no store waits on another; the drop flags of the eight are ORed on the side. The rare step
// with a dropped code is done again code by code.
std::size_t TranslateBytesScalar(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const std::uint16_t* entry = map.ByteEntries().data();
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const std::uint8_t* c = in + i;
        unsigned flags = 0;
#pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) {
            const unsigned e = entry[c[k]];
            out[k] = static_cast<std::uint8_t>(e);
            flags |= e;
        }
        out = flags & FontMap::kDropped ? KeepEach(map, c, 8, out) : out + 8;
    }
    return static_cast<std::size_t>(KeepEach(map, in + i, count - i, out) - start);
}

// Every entry of up to seven codes is stored as eight bytes at once; the length byte on top
// is overwritten by the next entry. Longer entries are copied from the map itself.
std::uint8_t* PutEntry(const FontMap& map, std::uint8_t code, std::uint8_t* out) {
    const std::uint64_t entry = map.Packed()[code];
    const auto length = static_cast<std::uint8_t>(entry >> 56);
    if (length != FontMap::kEscape) {
        std::memcpy(out, &entry, 8);
        return out + length;
    }
    const std::string_view codes = map.Entry(code);
    std::memcpy(out, codes.data(), codes.size());
    return out + codes.size();
}

// Without long entries, four codes are placed per step: their output offsets are summed
// from the length bytes up front, so that the stores do not wait on one another.
std::size_t TranslatePackedShort(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const auto& packed = map.Packed();
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, in + i, 4);
        const std::uint64_t e0 = packed[four & 0xFF], e1 = packed[(four >> 8) & 0xFF];
        const std::uint64_t e2 = packed[(four >> 16) & 0xFF], e3 = packed[four >> 24];
        const std::size_t at1 = e0 >> 56, at2 = at1 + (e1 >> 56), at3 = at2 + (e2 >> 56);
        std::memcpy(out, &e0, 8);
        std::memcpy(out + at1, &e1, 8);
        std::memcpy(out + at2, &e2, 8);
        std::memcpy(out + at3, &e3, 8);
        out += at3 + (e3 >> 56);
    }
    for (; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

// Entries of up to three codes, four bytes per store.
std::size_t TranslatePackedNarrow(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                  std::uint8_t* out) {
    const auto& narrow = map.NarrowPacked();
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, in + i, 4);
        const std::uint32_t e0 = narrow[four & 0xFF], e1 = narrow[(four >> 8) & 0xFF];
        const std::uint32_t e2 = narrow[(four >> 16) & 0xFF], e3 = narrow[four >> 24];
        const std::size_t at1 = e0 >> 24, at2 = at1 + (e1 >> 24), at3 = at2 + (e2 >> 24);
        std::memcpy(out, &e0, 4);
        std::memcpy(out + at1, &e1, 4);
        std::memcpy(out + at2, &e2, 4);
        std::memcpy(out + at3, &e3, 4);
        out += at3 + (e3 >> 24);
    }
    for (; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

// Two codes per load from the pair table, four pairs per step, stored as in
// TranslatePackedShort.
std::size_t TranslatePairs(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    const std::uint64_t* pairs = map.PairEntries();
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t codes;
        std::memcpy(&codes, in + i, 8);
        const std::uint64_t e0 = pairs[codes & 0xFFFF], e1 = pairs[(codes >> 16) & 0xFFFF];
        const std::uint64_t e2 = pairs[(codes >> 32) & 0xFFFF], e3 = pairs[codes >> 48];
        const std::size_t at1 = e0 >> 56, at2 = at1 + (e1 >> 56), at3 = at2 + (e2 >> 56);
        std::memcpy(out, &e0, 8);
        std::memcpy(out + at1, &e1, 8);
        std::memcpy(out + at2, &e2, 8);
        std::memcpy(out + at3, &e3, 8);
        out += at3 + (e3 >> 56);
    }
    return static_cast<std::size_t>(out - start) + TranslatePackedNarrow(map, in + i, count - i, out);
}

std::size_t TranslatePacked(const FontMap& map, const std::uint8_t* in, std::size_t count,
                            std::uint8_t* out) {
    std::uint8_t* const start = out;
    for (std::size_t i = 0; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels
