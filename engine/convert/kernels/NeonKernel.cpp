#if defined(__aarch64__)

#include <arm_neon.h>

#include "convert/kernels/Kernels.h"

namespace varnex::kernels {

namespace {

// A 256-entry byte table as four 64-byte vqtbl4q tables.
struct ByteTable128 {
    uint8x16x4_t quarter[4];
};

inline ByteTable128 LoadTable(const std::uint8_t* table) {
    return {
        {vld1q_u8_x4(table), vld1q_u8_x4(table + 64), vld1q_u8_x4(table + 128), vld1q_u8_x4(table + 192)}};
}

// vqtbl4q gives 0 for an index past 63, so quarter q is read with (code - 64q) and only the
// code's own quarter contributes; the four lookups do not depend on one another.
inline uint8x16_t LookUp(const ByteTable128& t, uint8x16_t codes) {
    const uint8x16_t r0 = vqtbl4q_u8(t.quarter[0], codes);
    const uint8x16_t r1 = vqtbl4q_u8(t.quarter[1], vsubq_u8(codes, vdupq_n_u8(64)));
    const uint8x16_t r2 = vqtbl4q_u8(t.quarter[2], vsubq_u8(codes, vdupq_n_u8(128)));
    const uint8x16_t r3 = vqtbl4q_u8(t.quarter[3], vsubq_u8(codes, vdupq_n_u8(192)));
    return vorrq_u8(vorrq_u8(r0, r1), vorrq_u8(r2, r3));
}

}  // namespace

// Sixteen codes per step in the marked table, stored whole unless one of them has no entry
// (it reads the marker); such a step is left to the scalar loop.
std::size_t TranslateBytesNeon(const FontMap& map, const std::uint8_t* in, std::size_t count,
                               std::uint8_t* out) {
    const ByteTable128 values = LoadTable(map.MarkedValues().data());
    const uint8x16_t marker = vdupq_n_u8(map.DropMarker());
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const uint8x16_t codes = vld1q_u8(in + i);
        const uint8x16_t result = LookUp(values, codes);
        if (vmaxvq_u8(vceqq_u8(result, marker)) == 0) {
            vst1q_u8(out, result);
            out += 16;
        } else {
            out += TranslateBytesScalar(map, in + i, 16, out);
        }
    }
    if (i < count) out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels

#endif
