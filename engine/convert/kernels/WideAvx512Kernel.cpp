#if defined(__x86_64__)

#include <immintrin.h>

#include "convert/kernels/Avx512Parts.h"
#include "convert/kernels/Kernels.h"

namespace varnex::kernels {

namespace {

// Byte indices that interleave the low bytes (0..63) and the high bytes (64..127) of 32
// points, starting at point `first`.
__attribute__((target("avx512f,avx512bw"))) inline __m512i Interleaving(int first) {
    alignas(64) std::uint8_t index[64];
    for (int j = 0; j < 64; ++j) index[j] = static_cast<std::uint8_t>(first + j / 2 + (j % 2 ? 64 : 0));
    return _mm512_load_si512(index);
}

}  // namespace

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::size_t WidenAvx512(
    const std::uint8_t* lowTable, const std::uint8_t* highTable, std::uint8_t stopHigh,
    const std::uint8_t* in, std::size_t count, char16_t* out, std::uint16_t& joined) {
    const ByteTable512 low = LoadTable512(lowTable), high = LoadTable512(highTable);
    const __m512i stop = _mm512_set1_epi8(static_cast<char>(stopHigh));
    const __m512i firstHalf = Interleaving(0), secondHalf = Interleaving(32);
    __m512i lowSeen = _mm512_setzero_si512(), highSeen = _mm512_setzero_si512();
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const __m512i codes = _mm512_loadu_si512(in + i);
        const __m512i highs = Lookup512(high, codes);
        if (_mm512_cmpeq_epi8_mask(highs, stop) != 0) break;
        const __m512i lows = Lookup512(low, codes);
        _mm512_storeu_si512(out + i, _mm512_permutex2var_epi8(lows, firstHalf, highs));
        _mm512_storeu_si512(out + i + 32, _mm512_permutex2var_epi8(lows, secondHalf, highs));
        lowSeen = _mm512_or_si512(lowSeen, lows);
        highSeen = _mm512_or_si512(highSeen, highs);
    }
    // the OR of the 64 bytes of each: the bytes OR'd across lanes, then within a lane
    alignas(64) std::uint8_t bytes[2][64];
    _mm512_store_si512(bytes[0], lowSeen);
    _mm512_store_si512(bytes[1], highSeen);
    std::uint8_t lowOr = 0, highOr = 0;
    for (int j = 0; j < 64; ++j) {
        lowOr |= bytes[0][j];
        highOr |= bytes[1][j];
    }
    joined = static_cast<std::uint16_t>(joined | lowOr | (highOr << 8));
    return i;
}

}  // namespace varnex::kernels

#endif
