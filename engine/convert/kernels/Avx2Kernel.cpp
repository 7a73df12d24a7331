#if defined(__x86_64__)

#include <immintrin.h>

#include "convert/kernels/Avx2Parts.h"

namespace varnex::kernels {

namespace {

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

#endif
