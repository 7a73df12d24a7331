#include <cstring>
#include <string_view>

#include "Kernels.h"

namespace varnex::kernels {

// Eight codes per step: the output offsets are summed from the keep flags up front, so the
// eight stores do not wait on one another the way `out += keep[c]` after each would.
std::size_t TranslateBytesScalar(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const std::uint8_t* value = map.ByteValues().data();
    const std::uint8_t* keep = map.ByteKeeps().data();
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const std::uint8_t* c = in + i;
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
        out += at7 + keep[c[7]];
    }
    for (; i < count; ++i) {
        *out = value[in[i]];
        out += keep[in[i]];
    }
    return static_cast<std::size_t>(out - start);
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

std::size_t TranslatePacked(const FontMap& map, const std::uint8_t* in, std::size_t count,
                            std::uint8_t* out) {
    std::uint8_t* const start = out;
    for (std::size_t i = 0; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels
