#if defined(__x86_64__)

#include <immintrin.h>

#include <array>

#include "convert/kernels/Kernels.h"

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

// Stores the 32 values whole, or without the codes that read the marker.
VARNEX_AVX2 inline std::uint8_t* Store(__m256i values, std::uint32_t dropped, std::uint8_t* out) {
    if (dropped != 0) return StoreKept(values, ~dropped, out);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), values);
    return out + 32;
}

VARNEX_AVX2 inline std::uint32_t Marked(__m256i values, __m256i marker) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(values, marker)));
}

// 64 codes per step in two independent halves, stored whole unless one of them has no entry.
template <bool kLowerHalfKept>
VARNEX_AVX2 std::size_t TranslateBytes(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                       std::uint8_t* out) {
    const auto* groups = reinterpret_cast<const __m256i*>(map.Groups().xorValues);
    const __m256i marker = _mm256_set1_epi8(static_cast<char>(map.DropMarker()));
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const __m256i first =
            LookUp<kLowerHalfKept>(groups, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)));
        const __m256i second =
            LookUp<kLowerHalfKept>(groups, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i + 32)));
        const std::uint32_t firstDropped = Marked(first, marker), secondDropped = Marked(second, marker);
        if ((firstDropped | secondDropped) == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), first);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), second);
            out += 64;
        } else {
            out = Store(second, secondDropped, Store(first, firstDropped, out));
        }
    }
    if (i + 32 <= count) {
        const __m256i values =
            LookUp<kLowerHalfKept>(groups, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)));
        out = Store(values, Marked(values, marker), out);
        i += 32;
    }
    if (i < count) out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace

std::size_t TranslateBytesAvx2(const FontMap& map, const std::uint8_t* in, std::size_t count,
                               std::uint8_t* out) {
    return map.KeepsLowerHalf() ? TranslateBytes<true>(map, in, count, out)
                                : TranslateBytes<false>(map, in, count, out);
}

}  // namespace varnex::kernels

#undef VARNEX_AVX2

#endif
