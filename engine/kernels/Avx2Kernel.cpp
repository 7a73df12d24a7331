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

// For the lengths (0..3) of the four 4-byte entries in a 128-bit lane, the byte moves that
// pack their used bytes together, and how many bytes that gives. The index holds bit 0 of
// each length in its low four bits and bit 1 in its high four.
struct LaneShuffles {
    alignas(16) std::array<std::array<std::uint8_t, 16>, 256> moves{};
    std::array<std::uint8_t, 256> sizes{};
};

constexpr LaneShuffles MakeLaneShuffles() {
    LaneShuffles table;
    for (int index = 0; index < 256; ++index) {
        int to = 0;
        for (int e = 0; e < 4; ++e) {
            const int length = ((index >> e) & 1) | (((index >> (e + 4)) & 1) << 1);
            for (int b = 0; b < length; ++b) table.moves[index][to++] = static_cast<std::uint8_t>(4 * e + b);
        }
        table.sizes[index] = static_cast<std::uint8_t>(to);
        while (to < 16) table.moves[index][to++] = 0x80;
    }
    return table;
}
constexpr LaneShuffles kLaneShuffles = MakeLaneShuffles();

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

// Stores the used bytes of one lane of four 4-byte entries.
VARNEX_AVX2 inline std::uint8_t* StoreLane(__m128i entries, unsigned index, std::uint8_t* out) {
    const __m128i moves = _mm_load_si128(reinterpret_cast<const __m128i*>(kLaneShuffles.moves[index].data()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(entries, moves));
    return out + kLaneShuffles.sizes[index];
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
    out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

// Eight codes per step: their 4-byte short entries are gathered, and each 128-bit lane of
// four entries is packed by a shuffle chosen from the four lengths.
VARNEX_AVX2 std::size_t TranslateShortAvx2(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                           std::uint8_t* out) {
    const auto* entries = reinterpret_cast<const int*>(map.Short().data());
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const std::uint8_t* c = in + i;
        const __m256i gathered =
            _mm256_setr_epi32(entries[c[0]], entries[c[1]], entries[c[2]], entries[c[3]], entries[c[4]],
                              entries[c[5]], entries[c[6]], entries[c[7]]);
        // Bits 24 and 25 hold each entry's length.
        const auto bit0 =
            static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_slli_epi32(gathered, 7))));
        const auto bit1 =
            static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_slli_epi32(gathered, 6))));
        out = StoreLane(_mm256_castsi256_si128(gathered), (bit0 & 0xF) | ((bit1 & 0xF) << 4), out);
        out = StoreLane(_mm256_extracti128_si256(gathered, 1), (bit0 >> 4) | ((bit1 >> 4) << 4), out);
    }
    for (; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels

#undef VARNEX_AVX2

#endif
