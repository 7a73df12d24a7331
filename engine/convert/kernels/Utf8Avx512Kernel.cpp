#if defined(__x86_64__)

#include <immintrin.h>

#include "convert/kernels/Kernels.h"

#define VARNEX_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt")))

namespace varnex::kernels {

namespace {

// The windows of 64 bytes lie 63 bytes apart, so that where the next one starts never waits
// for what this one holds; the last byte serves only as the one after a lead byte in the
// byte before it. A window's characters are those that start in its first 63 bytes, but for a
// continuation byte at its start that ends the character begun last in the window before.
constexpr std::size_t kStride = 63;

// What a window holds when it holds nothing but ASCII codes and whole two-byte sequences.
struct Window {
    __mmask64 starts;  // where a character starts
    __mmask64 leads;   // where a two-byte sequence starts
    bool plain;        // false when the window holds anything else
};

// `carried`: 1 when the byte before the window leads a two-byte sequence; `owned`: the bytes
// where the window's characters may start.
VARNEX_AVX512 inline Window ReadWindow(__m512i bytes, __mmask64 carried, __mmask64 owned) {
    const __mmask64 high = _mm512_movepi8_mask(bytes);
    // 80..BF, as signed bytes the ones below C0
    const __mmask64 continuation = _mm512_cmplt_epi8_mask(bytes, _mm512_set1_epi8(static_cast<char>(0xC0)));
    // C2..DF: the leads of the two-byte sequences that are not overlong
    const __mmask64 goodLeads = _mm512_cmple_epu8_mask(
        _mm512_sub_epi8(bytes, _mm512_set1_epi8(static_cast<char>(0xC2))), _mm512_set1_epi8(29));
    const __mmask64 leads = high & ~continuation & owned;
    const bool plain = (leads & ~goodLeads) == 0 && continuation == (leads << 1 | carried);
    return {~continuation & owned, leads, plain};
}

// The 128 marked values of a pair of lead bytes (C0 + 2p and C1 + 2p), for one vpermi2b,
// and the pair's first lead in every byte. The last pair looked up stays loaded: in most
// texts one pair holds every letter.
struct LeadPair {
    int number;
    __m512i low, high, lead;
};

VARNEX_AVX512 inline LeadPair PairNumbered(const std::uint8_t* marked, int number) {
    return {number, _mm512_loadu_si512(marked + number * 128), _mm512_loadu_si512(marked + number * 128 + 64),
            _mm512_set1_epi8(static_cast<char>(0xC0 + 2 * number))};
}

// The marked value of each character of the window: the ASCII codes from the lower half of
// the marked table, each two-byte sequence from its lead byte's pair, indexed by the lead's
// lowest bit (bit 6 of the index) and the low six bits of the byte after it; vpermi2b reads
// only those seven bits.
template <bool kLowerHalfKept>
VARNEX_AVX512 inline __m512i Values(const std::uint8_t* marked, const std::uint8_t* in, __m512i bytes,
                                    __mmask64 leads, __m512i lower0, __m512i lower1, __m512i following,
                                    LeadPair& pair) {
    __m512i values = kLowerHalfKept ? bytes : _mm512_permutex2var_epi8(lower0, bytes, lower1);
    if (leads == 0) return values;
    const __m512i index = _mm512_ternarylogic_epi32(following, _mm512_slli_epi16(bytes, 6),
                                                    _mm512_set1_epi8(0x40), 0xF8);  // A | (B & C)
    const __m512i pairOfLead = _mm512_and_si512(bytes, _mm512_set1_epi8(static_cast<char>(0xFE)));
    for (__mmask64 left = leads;;) {
        const __mmask64 same = _mm512_mask_cmpeq_epi8_mask(left, pairOfLead, pair.lead);
        values = _mm512_mask_blend_epi8(same, values, _mm512_permutex2var_epi8(pair.low, index, pair.high));
        left &= ~same;
        if (left == 0) return values;
        pair = PairNumbered(marked, (in[__builtin_ctzll(left)] >> 1) & 0x0F);
    }
}

alignas(64) constexpr std::uint8_t kNextIndex[64] = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,
    45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 0};

// Below this many bytes the last window is left to the plain loop. A window that the plain
// loop takes holds at least one whole character of four bytes, so that it always moves on.
constexpr std::size_t kShortestWindow = 8;

template <bool kLowerHalfKept>
VARNEX_AVX512 std::size_t Decode(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out, bool more, std::size_t* consumed) {
    const std::uint8_t* marked = map.MarkedTwoByteValues().data();
    const __m512i lower0 = _mm512_loadu_si512(marked), lower1 = _mm512_loadu_si512(marked + 64);
    const __m512i marker = _mm512_set1_epi8(static_cast<char>(map.DropMarker()));
    const __m512i toNext = _mm512_load_si512(kNextIndex);
    LeadPair pair = PairNumbered(marked, map.BusiestLeadPair());
    std::uint8_t* const start = out;
    std::size_t i = 0;
    __mmask64 carried = 0;
    // The last window may be shorter: the bytes past the text read as 0, which is neither a
    // lead nor a continuation byte, and a character may start only where a byte of the text
    // follows.
    while (count - i >= kShortestWindow) {
        const std::size_t stride = count - i > kStride ? kStride : count - i - 1;
        const __mmask64 loaded = stride == kStride ? ~__mmask64{0} : (__mmask64{1} << (stride + 1)) - 1;
        const __m512i bytes = _mm512_maskz_loadu_epi8(loaded, in + i);
        const Window window = ReadWindow(bytes, carried, (__mmask64{1} << stride) - 1);
        if (!window.plain) {  // other characters, or ill-formed bytes: this window plainly
            std::size_t taken = 0;
            out += DecodeUtf8Scalar(map, in + i + carried, stride - carried, out, true, &taken);
            i += carried + taken;
            carried = 0;
            continue;
        }
        const __m512i following = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, toNext, bytes);
        const __m512i values =
            Values<kLowerHalfKept>(marked, in + i, bytes, window.leads, lower0, lower1, following, pair);
        const __mmask64 keep = _mm512_mask_cmpneq_epi8_mask(window.starts, values, marker);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, values));
        out += __builtin_popcountll(keep);
        carried = window.leads >> (stride - 1) & 1;
        i += stride;
    }
    i += carried;
    std::size_t taken = 0;
    out += DecodeUtf8Scalar(map, in + i, count - i, out, more, &taken);
    *consumed = i + taken;
    return static_cast<std::size_t>(out - start);
}

}  // namespace

std::size_t DecodeUtf8Avx512(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed) {
    return map.KeepsLowerHalf() ? Decode<true>(map, in, count, out, more, consumed)
                                : Decode<false>(map, in, count, out, more, consumed);
}

}  // namespace varnex::kernels

#undef VARNEX_AVX512

#endif
