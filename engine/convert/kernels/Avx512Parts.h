#pragma once

// What the AVX-512 loops share: a 256-entry byte table looked up for 64 codes at once.

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

namespace varnex::kernels {

struct ByteTable512 {
    __m512i q0, q1, q2, q3;
};

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline ByteTable512 LoadTable512(
    const std::uint8_t* table) {
    return {_mm512_loadu_si512(table), _mm512_loadu_si512(table + 64), _mm512_loadu_si512(table + 128),
            _mm512_loadu_si512(table + 192)};
}

// vpermi2b covers 128 table entries, so two of them and a blend on bit 7 cover all 256.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i Lookup512(const ByteTable512& t,
                                                                                __m512i codes) {
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(codes), _mm512_permutex2var_epi8(t.q0, codes, t.q1),
                                  _mm512_permutex2var_epi8(t.q2, codes, t.q3));
}

}  // namespace varnex::kernels

#endif
