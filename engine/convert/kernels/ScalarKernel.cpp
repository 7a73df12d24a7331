#include <bit>
#include <cstring>
#include <string_view>

#include "convert/kernels/Kernels.h"

static_assert(std::endian::native == std::endian::little,
              "words of codes are read and written in memory order");

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

// Eight codes, some of which may be dropped: the output offsets are summed from the keep
// flags up front, so that the eight stores do not wait on one another.
inline std::uint8_t* KeepEight(const std::uint8_t* value, const std::uint8_t* keep, const std::uint8_t* c,
                               std::uint8_t* out) {
    const std::size_t at1 = keep[c[0]], at2 = at1 + keep[c[1]], at3 = at2 + keep[c[2]];
    const std::size_t at4 = at3 + keep[c[3]], at5 = at4 + keep[c[4]], at6 = at5 + keep[c[5]];
    const std::size_t at7 = at6 + keep[c[6]];
    out[0] = value[c[0]];
    out[at1] = value[c[1]];
    out[at2] = value[c[2]];
    out[at3] = value[c[3]];
    out[at4] = value[c[4]];
    out[at5] = value[c[5]];
    out[at6] = value[c[6]];
    out[at7] = value[c[7]];
    return out + at7 + keep[c[7]];
}

}  // namespace

// Eight codes per step, each stored at its own place as though none were dropped, so that
// no store waits on another; the drop flags of the eight are ORed on the side, and a step
// with a dropped code is done again by KeepEight. In text where such steps are frequent the
// test would be mispredicted at every step, so once more than one in sixteen has needed it,
// the rest goes to KeepEight alone.
std::size_t TranslateBytesScalar(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const std::uint16_t* entry = map.ByteEntries().data();
    const std::uint8_t* value = map.ByteValues().data();
    const std::uint8_t* keep = map.ByteKeeps().data();
    std::uint8_t* const start = out;
    std::size_t i = 0, redone = 0;
    for (; i + 8 <= count; i += 8) {
        const std::uint8_t* c = in + i;
        unsigned flags = 0;
#pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) {
            const unsigned e = entry[c[k]];
            out[k] = static_cast<std::uint8_t>(e);
            flags |= e;
        }
        if (!(flags & FontMap::kDropped)) {
            out += 8;
            continue;
        }
        out = KeepEight(value, keep, c, out);
        if (++redone * 16 > i / 8 + 16) {
            i += 8;
            break;
        }
    }
    for (; i + 8 <= count; i += 8) out = KeepEight(value, keep, in + i, out);
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

namespace {

// Places four entries whose top byte holds their number of codes. Their output offsets are
// summed from those numbers up front, so that the stores do not wait on one another; each
// entry is stored whole, and the next one overwrites its number and what follows.
template <typename Entry>
inline std::uint8_t* PlaceFour(Entry e0, Entry e1, Entry e2, Entry e3, std::uint8_t* out) {
    constexpr int kTop = 8 * sizeof(Entry) - 8;
    const std::size_t at1 = e0 >> kTop, at2 = at1 + (e1 >> kTop), at3 = at2 + (e2 >> kTop);
    std::memcpy(out, &e0, sizeof e0);
    std::memcpy(out + at1, &e1, sizeof e1);
    std::memcpy(out + at2, &e2, sizeof e2);
    std::memcpy(out + at3, &e3, sizeof e3);
    return out + at3 + (e3 >> kTop);
}

// Four lookups per step, each by a Codes of the input: one code or a pair of codes. Each is
// loaded on its own: a load is one instruction, where a wide load cut up takes two per part,
// and this loop is bound by the number of instructions.
template <typename Codes, typename Entry>
std::uint8_t* PlaceSteps(const Entry* table, const std::uint8_t* in, std::size_t steps, std::uint8_t* out) {
    const auto codesAt = [in](std::size_t at) {
        Codes codes;
        std::memcpy(&codes, in + at * sizeof codes, sizeof codes);
        return codes;
    };
    for (std::size_t step = 0; step < steps; ++step) {
        const std::size_t at = step * 4;
        out = PlaceFour(table[codesAt(at)], table[codesAt(at + 1)], table[codesAt(at + 2)],
                        table[codesAt(at + 3)], out);
    }
    return out;
}

std::uint8_t* PutEach(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i) out = PutEntry(map, in[i], out);
    return out;
}

}  // namespace

// Without long entries: four codes per step, eight bytes per store.
std::size_t TranslatePackedShort(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const std::size_t done = count / 4 * 4;
    std::uint8_t* const end = PutEach(map, in + done, count - done,
                                      PlaceSteps<std::uint8_t>(map.Packed().data(), in, count / 4, out));
    return static_cast<std::size_t>(end - out);
}

// Two codes per lookup in the pair table: eight codes per step.
std::size_t TranslatePairs(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    const std::size_t done = count / 8 * 8;
    std::uint8_t* const placed = PlaceSteps<std::uint16_t>(map.PairEntries(), in, count / 8, out);
    return static_cast<std::size_t>(PutEach(map, in + done, count - done, placed) - out);
}

std::size_t TranslatePacked(const FontMap& map, const std::uint8_t* in, std::size_t count,
                            std::uint8_t* out) {
    return static_cast<std::size_t>(PutEach(map, in, count, out) - out);
}

}  // namespace varnex::kernels
