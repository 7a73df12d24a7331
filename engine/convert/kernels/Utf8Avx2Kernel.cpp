#if defined(__x86_64__)

#include <immintrin.h>

#include <cstring>

#include "convert/kernels/Avx2Parts.h"

namespace varnex::kernels {

namespace {

// The windows of 32 bytes lie 31 bytes apart, so that where the next one starts never waits
// for what this one holds; the last byte serves only as the one after a lead byte in the
// byte before it. A window's characters are those that start in its first 31 bytes, but for a
// continuation byte at its start that ends the character begun last in the window before.
constexpr std::size_t kStride = 31;
// Below this many bytes the last window is left to the plain loop. A window that the plain
// loop takes holds at least one whole character of four bytes, so that it always moves on.
constexpr std::size_t kShortestWindow = 8;

// What a window holds when it holds nothing but ASCII codes and whole two-byte sequences.
struct Window {
    std::uint32_t starts;  // where a character starts
    std::uint32_t leads;   // where a two-byte sequence starts
    bool plain;            // false when the window holds anything else
};

VARNEX_AVX2 inline std::uint32_t Mask(__m256i bytes) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes));
}

// `carried`: 1 when the byte before the window leads a two-byte sequence; `owned`: the bytes
// where the window's characters may start.
VARNEX_AVX2 inline Window ReadWindow(__m256i bytes, std::uint32_t carried, std::uint32_t owned) {
    const std::uint32_t high = Mask(bytes);
    const std::uint32_t continuation =
        Mask(_mm256_cmpeq_epi8(_mm256_and_si256(bytes, _mm256_set1_epi8(static_cast<char>(0xC0))),
                               _mm256_set1_epi8(static_cast<char>(0x80))));
    // C2..DF: the leads of the two-byte sequences that are not overlong
    const __m256i fromC2 = _mm256_sub_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0xC2)));
    const std::uint32_t goodLeads =
        Mask(_mm256_cmpeq_epi8(_mm256_min_epu8(fromC2, _mm256_set1_epi8(29)), fromC2));
    const std::uint32_t leads = high & ~continuation & owned;
    const bool plain = (leads & ~goodLeads) == 0 && continuation == (leads << 1 | carried);
    return {~continuation & owned, leads, plain};
}

// The bytes one place on: byte k of the result is byte k + 1 (the last one is 0).
VARNEX_AVX2 inline __m256i Following(__m256i bytes) {
    return _mm256_alignr_epi8(_mm256_permute2x128_si256(bytes, bytes, 0x81), bytes, 1);
}

VARNEX_AVX2 inline __m256i LookUpSixteen(const std::uint8_t* entries, __m256i lowNibbles) {
    return _mm256_shuffle_epi8(
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries))), lowNibbles);
}

// The 128 marked values of a pair of lead bytes (C0 + 2p and C1 + 2p), looked up by the low
// seven bits of `index`: eight vpshufb of sixteen entries, chosen between by bits 4, 5 and 6.
VARNEX_AVX2 inline __m256i LookUpPair(const std::uint8_t* pair, __m256i index) {
    const __m256i low = _mm256_and_si256(index, _mm256_set1_epi8(0x0F));
    const __m256i bit4 = _mm256_slli_epi16(index, 3), bit5 = _mm256_slli_epi16(index, 2);
    const __m256i bit6 = _mm256_slli_epi16(index, 1);
    __m256i quarter[4];
    for (int q = 0; q < 4; ++q) {
        quarter[q] = _mm256_blendv_epi8(LookUpSixteen(pair + 32 * q, low),
                                        LookUpSixteen(pair + 32 * q + 16, low), bit4);
    }
    return _mm256_blendv_epi8(_mm256_blendv_epi8(quarter[0], quarter[1], bit5),
                              _mm256_blendv_epi8(quarter[2], quarter[3], bit5), bit6);
}

// The marked value of each character of the window: the ASCII codes from the lower half of
// the marked table, each two-byte sequence from its lead byte's pair, indexed by the lead's
// lowest bit and the low six bits of the byte after it. The pair last looked up is tried
// first: in most texts one pair holds every letter.
template <bool kLowerHalfKept>
VARNEX_AVX2 inline __m256i Values(const FontMap& map, const std::uint8_t* in, __m256i bytes,
                                  std::uint32_t leads, int& pairNumber) {
    __m256i values =
        kLowerHalfKept ? bytes : LookUpHalf(reinterpret_cast<const __m256i*>(map.Groups().xorValues), bytes);
    if (leads == 0) return values;
    const std::uint8_t* marked = map.MarkedTwoByteValues().data();
    const __m256i index = _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(bytes, _mm256_set1_epi8(1)), 6),
                                          _mm256_and_si256(Following(bytes), _mm256_set1_epi8(0x3F)));
    const __m256i pairs = _mm256_and_si256(_mm256_srli_epi16(bytes, 1), _mm256_set1_epi8(0x0F));
    const __m256i isLead =
        _mm256_cmpeq_epi8(_mm256_and_si256(bytes, _mm256_set1_epi8(static_cast<char>(0xE0))),
                          _mm256_set1_epi8(static_cast<char>(0xC0)));
    for (std::uint32_t left = leads; left != 0;) {
        const __m256i same = _mm256_and_si256(
            isLead, _mm256_cmpeq_epi8(pairs, _mm256_set1_epi8(static_cast<char>(pairNumber))));
        const std::uint32_t sameLeads = left & Mask(same);
        if (sameLeads != 0) {
            values = _mm256_blendv_epi8(values, LookUpPair(marked + pairNumber * 128, index), same);
            left &= ~sameLeads;
        }
        if (left != 0) pairNumber = (in[__builtin_ctz(left)] >> 1) & 0x0F;
    }
    return values;
}

template <bool kLowerHalfKept>
VARNEX_AVX2 std::size_t Decode(const FontMap& map, const std::uint8_t* in, std::size_t count,
                               std::uint8_t* out, bool more, std::size_t* consumed) {
    const __m256i marker = _mm256_set1_epi8(static_cast<char>(map.DropMarker()));
    std::uint8_t* const start = out;
    std::size_t i = 0;
    std::uint32_t carried = 0;
    int pairNumber = 0;
    alignas(32) std::uint8_t last[32];
    // The last window may be shorter: it is read from a copy in which the bytes past the text
    // are 0, neither a lead nor a continuation byte, and a character may start only where a
    // byte of the text follows.
    while (count - i >= kShortestWindow) {
        const std::size_t stride = count - i > kStride ? kStride : count - i - 1;
        const std::uint8_t* window = in + i;
        if (count - i < 32) {
            std::memset(last, 0, sizeof last);
            std::memcpy(last, in + i, count - i);
            window = last;
        }
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window));
        const Window read = ReadWindow(bytes, carried, (1u << stride) - 1);
        if (!read.plain) {  // other characters, or ill-formed bytes: this window plainly
            std::size_t taken = 0;
            out += DecodeUtf8Scalar(map, in + i + carried, stride - carried, out, true, &taken);
            i += carried + taken;
            carried = 0;
            continue;
        }
        const __m256i values = Values<kLowerHalfKept>(map, window, bytes, read.leads, pairNumber);
        out = StoreKept(values, read.starts & ~Mask(_mm256_cmpeq_epi8(values, marker)), out);
        carried = read.leads >> (stride - 1) & 1;
        i += stride;
    }
    i += carried;
    std::size_t taken = 0;
    out += DecodeUtf8Scalar(map, in + i, count - i, out, more, &taken);
    *consumed = i + taken;
    return static_cast<std::size_t>(out - start);
}

}  // namespace

std::size_t DecodeUtf8Avx2(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                           bool more, std::size_t* consumed) {
    return map.KeepsLowerHalf() ? Decode<true>(map, in, count, out, more, consumed)
                                : Decode<false>(map, in, count, out, more, consumed);
}

}  // namespace varnex::kernels

#endif
