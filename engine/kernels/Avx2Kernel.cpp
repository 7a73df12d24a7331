#if defined(__x86_64__)

#include <immintrin.h>

#include <array>

#include "Kernels.h"

#define VARNEX_AVX2 __attribute__((target("avx2,popcnt")))

namespace varnex::kernels {

namespace {

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
constexpr KeepShuffles kKeepShuffles = MakeKeepShuffles();

// Index (code - 16k) has bit 7 clear, so vpshufb reads group k, exactly for the groups k
// from the start of the code's half up to its own group (see FontMap::ByteGroups). Each half
// XORs its hits into two accumulators of its own; the code's bit 7 then chooses the half.
// The groups are read from memory at each use: sixteen of them would not fit the registers.
VARNEX_AVX2 inline __m256i LookUp(const __m256i* groups, __m256i codes) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i index = codes;
    __m256i acc[4];
#pragma GCC unroll 16
    for (int k = 0; k < 16; ++k) {
        const __m256i hit = _mm256_shuffle_epi8(_mm256_load_si256(groups + k), index);
        acc[k / 4] = k % 4 == 0 ? hit : _mm256_xor_si256(acc[k / 4], hit);
        index = _mm256_sub_epi8(index, sixteen);
        // Keeps the compiler from folding the steps into sixteen constants, which it would
        // build anew in every pass through the loop.
        asm("" : "+x"(index));
    }
    return _mm256_blendv_epi8(_mm256_xor_si256(acc[0], acc[1]), _mm256_xor_si256(acc[2], acc[3]), codes);
}

// Nonzero bytes where the code has no single-code entry.
VARNEX_AVX2 inline __m256i Dropped(__m256i dropsLow, __m256i dropsHigh, __m256i codes) {
    const __m256i lowNibble = _mm256_and_si256(codes, _mm256_set1_epi8(0x0F));
    const __m256i row = _mm256_blendv_epi8(_mm256_shuffle_epi8(dropsLow, lowNibble),
                                           _mm256_shuffle_epi8(dropsHigh, lowNibble), codes);
    const __m256i bits = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4,
                                          8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m256i highNibble = _mm256_and_si256(_mm256_srli_epi16(codes, 4), _mm256_set1_epi8(0x07));
    return _mm256_and_si256(row, _mm256_shuffle_epi8(bits, highNibble));
}

// Stores the kept bytes of `values` (kept: one bit per byte) eight at a time.
VARNEX_AVX2 inline std::uint8_t* StoreKept(__m256i values, std::uint32_t kept, std::uint8_t* out) {
    alignas(32) std::uint8_t bytes[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), values);
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

}  // namespace

// 32 codes per step, stored whole unless one of them has no entry.
VARNEX_AVX2 std::size_t TranslateBytesAvx2(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                           std::uint8_t* out) {
    const FontMap::ByteGroups& table = map.Groups();
    const auto* groups = reinterpret_cast<const __m256i*>(table.xorValues);
    const __m256i dropsLow = _mm256_load_si256(reinterpret_cast<const __m256i*>(table.dropBits[0]));
    const __m256i dropsHigh = _mm256_load_si256(reinterpret_cast<const __m256i*>(table.dropBits[1]));
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i codes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i values = LookUp(groups, codes);
        const __m256i dropped = Dropped(dropsLow, dropsHigh, codes);
        if (_mm256_testz_si256(dropped, dropped)) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), values);
            out += 32;
        } else {
            const auto kept = static_cast<std::uint32_t>(
                _mm256_movemask_epi8(_mm256_cmpeq_epi8(dropped, _mm256_setzero_si256())));
            out = StoreKept(values, kept, out);
        }
    }
    if (i < count) out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels

#undef VARNEX_AVX2

#endif
