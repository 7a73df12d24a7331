#pragma once

// What the AVX2 loops share: the lookup of the marked byte table, and the store of the
// bytes that are kept.

#if defined(__x86_64__)

#include <immintrin.h>

#include <array>

#include "convert/kernels/Kernels.h"

#define VARNEX_AVX2 __attribute__((target("avx2,popcnt")))

namespace varnex::kernels {

// For each set of kept codes among eight (bit k: code k is kept), the byte moves that
// squeeze out the others, and how many remain.
struct KeepShuffles {
    alignas(16) std::array<std::array<std::uint8_t, 16>, 256> moves{};
};

constexpr KeepShuffles MakeKeepShuffles() {
    KeepShuffles table;
    for (int kept = 0; kept < 256; ++kept) {
        int to = 0;
        for (int k = 0; k < 8; ++k) {
            if (kept & (1 << k)) table.moves[kept][to++] = static_cast<std::uint8_t>(k);
        }
        while (to < 16) table.moves[kept][to++] = 0x80;
    }
    return table;
}
inline constexpr KeepShuffles kKeepShuffles = MakeKeepShuffles();

// Index (code - 16k) has bit 7 clear, so vpshufb reads group k, exactly for the groups k
// from the start of the code's half up to its own group (see FontMap::ByteGroups). The eight
// groups of one half are XORed into four accumulators; `index` starts at the code's distance
// from the half's first code. The groups are read from memory at each use.
VARNEX_AVX2 inline __m256i LookUpHalf(const __m256i* groups, __m256i index) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i acc[4];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        const __m256i hit = _mm256_shuffle_epi8(_mm256_load_si256(groups + k), index);
        acc[k % 4] = k < 4 ? hit : _mm256_xor_si256(acc[k % 4], hit);
        index = _mm256_sub_epi8(index, sixteen);
        // Keeps the compiler from folding the steps into eight constants, which it would
        // build anew in every pass through the loop.
        asm("" : "+x"(index));
    }
    return _mm256_xor_si256(_mm256_xor_si256(acc[0], acc[1]), _mm256_xor_si256(acc[2], acc[3]));
}

// The marked value of each code; bit 7 of the code chooses the half. When the lower half
// is the code itself, only the upper half is looked up.
template <bool kLowerHalfKept>
VARNEX_AVX2 inline __m256i LookUp(const __m256i* groups, __m256i codes) {
    const __m256i upper = LookUpHalf(groups + 8, _mm256_xor_si256(codes, _mm256_set1_epi8(-128)));
    const __m256i lower = kLowerHalfKept ? codes : LookUpHalf(groups, codes);
    return _mm256_blendv_epi8(lower, upper, codes);
}

// Stores the kept bytes of `values` (kept: one bit per byte) eight at a time.
VARNEX_AVX2 inline std::uint8_t* StoreKept(__m256i values, std::uint32_t kept, std::uint8_t* out) {
    alignas(32) std::uint8_t bytes[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), values);
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t eight = (kept >> (8 * k)) & 0xFF;
        const __m128i moves =
            _mm_load_si128(reinterpret_cast<const __m128i*>(kKeepShuffles.moves[eight].data()));
        const __m128i source = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes + 8 * k));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(source, moves));
        out += __builtin_popcount(eight);
    }
    return out;
}

}  // namespace varnex::kernels

#endif
