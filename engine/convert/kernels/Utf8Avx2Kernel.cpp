#if defined(__x86_64__)

#include <immintrin.h>

#include "convert/kernels/Avx2Parts.h"

namespace varnex::kernels {

namespace {

// The windows of 32 bytes lie 31 bytes apart, so that where the next one starts never waits
// for what this one holds; the last byte serves only as the one after a lead byte in the
// byte before it. A window's characters are those that start in its first 31 bytes, but for a
// continuation byte at its start that ends the character begun last in the window before.
constexpr std::size_t kStride = 31;
// Below this many bytes the last window is left to the plain loop.
constexpr std::size_t kShortestWindow = 8;

// What a window holds when it holds nothing but ASCII codes and whole two-byte sequences.
struct Window {
    std::uint32_t starts;  // where a character starts
    std::uint32_t leads;   // where a two-byte sequence starts
    bool plain;            // false when the window holds anything else
};

// The loop's constants, made once: left to itself the compiler builds several of them anew
// in every window, three instructions each.
struct Constants {
    __m256i lowestLead, minusC2, upToDF, lowFour, pairOfLead, marker;
};

// Opaque to the compiler, so that it keeps the value instead of building it again.
VARNEX_AVX2 inline __m256i EveryByte(int value) {
    __m256i bytes = _mm256_set1_epi8(static_cast<char>(value));
    asm("" : "+x"(bytes));
    return bytes;
}

VARNEX_AVX2 inline Constants MakeConstants(std::uint8_t marker) {
    return {EveryByte(0xC0), EveryByte(0xC2), EveryByte(29),
            EveryByte(0x0F), EveryByte(0xFE), EveryByte(marker)};
}

VARNEX_AVX2 inline std::uint32_t Mask(__m256i bytes) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes));
}

// `carried`: 1 when the byte before the window's first byte leads a two-byte sequence;
// `owned`: the bytes where the window's characters may start. The window's first byte is
// byte `first` of the 32: a window that ends at the end of the text reads bytes of the
// window before it, which take no part.
VARNEX_AVX2 inline Window ReadWindow(const Constants& k, __m256i bytes, std::uint32_t carried,
                                     std::uint32_t owned, unsigned first) {
    const std::uint32_t high = Mask(bytes);
    // 80..BF, as signed bytes the ones below C0
    const std::uint32_t continuation = Mask(_mm256_cmpgt_epi8(k.lowestLead, bytes)) & (~0u << first);
    // C2..DF: the leads of the two-byte sequences that are not overlong
    const __m256i fromC2 = _mm256_sub_epi8(bytes, k.minusC2);
    const std::uint32_t goodLeads = Mask(_mm256_cmpeq_epi8(_mm256_min_epu8(fromC2, k.upToDF), fromC2));
    const std::uint32_t leads = high & ~continuation & owned;
    const bool plain = (leads & ~goodLeads) == 0 && continuation == (leads << 1 | carried << first);
    return {~continuation & owned, leads, plain};
}

VARNEX_AVX2 inline __m256i LookUpSixteen(const std::uint8_t* entries, __m256i lowNibbles) {
    return _mm256_shuffle_epi8(
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries))), lowNibbles);
}

// Of the sixteen entries at `entries` and the sixteen after them, the one that bit 4 of the
// index chooses (set in bit 7 of `bit4`).
VARNEX_AVX2 inline __m256i LookUpThirtyTwo(const std::uint8_t* entries, __m256i low, __m256i bit4) {
    return _mm256_blendv_epi8(LookUpSixteen(entries, low), LookUpSixteen(entries + 16, low), bit4);
}

// The 128 marked values of a pair of lead bytes (C0 + 2p and C1 + 2p): the lead's lowest bit
// and the low six bits of the byte after it (`following`) choose one. Eight vpshufb of
// sixteen entries, chosen between by bit 4, bit 5 and the lead's bit, each moved to bit 7.
VARNEX_AVX2 inline __m256i LookUpPair(const Constants& k, const std::uint8_t* pair, __m256i bytes,
                                      __m256i following) {
    const __m256i low = _mm256_and_si256(following, k.lowFour);
    const __m256i bit4 = _mm256_slli_epi16(following, 3), bit5 = _mm256_slli_epi16(following, 2);
    const __m256i leadBit = _mm256_slli_epi16(bytes, 7);
    const __m256i first =
        _mm256_blendv_epi8(LookUpThirtyTwo(pair, low, bit4), LookUpThirtyTwo(pair + 32, low, bit4), bit5);
    const __m256i second = _mm256_blendv_epi8(LookUpThirtyTwo(pair + 64, low, bit4),
                                              LookUpThirtyTwo(pair + 96, low, bit4), bit5);
    return _mm256_blendv_epi8(first, second, leadBit);
}

// The pair of lead bytes last looked up, and its first lead in every byte: in most texts one
// pair holds every letter.
struct LeadPair {
    int number;
    __m256i lead;
};

VARNEX_AVX2 inline LeadPair PairNumbered(int number) {
    return {number, _mm256_set1_epi8(static_cast<char>(0xC0 + 2 * number))};
}

// The marked value of each character of the window: the ASCII codes from the lower half of
// the marked table, each two-byte sequence from its lead byte's pair.
template <bool kLowerHalfKept>
VARNEX_AVX2 inline __m256i Values(const Constants& k, const FontMap& map, const std::uint8_t* in,
                                  __m256i bytes, std::uint32_t leads, LeadPair& pair) {
    __m256i values =
        kLowerHalfKept ? bytes : LookUpHalf(reinterpret_cast<const __m256i*>(map.Groups().xorValues), bytes);
    if (leads == 0) return values;
    const std::uint8_t* marked = map.MarkedTwoByteValues().data();
    const __m256i following = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 1));
    const __m256i pairOfLead = _mm256_and_si256(bytes, k.pairOfLead);
    for (std::uint32_t left = leads;;) {
        const __m256i same = _mm256_cmpeq_epi8(pairOfLead, pair.lead);
        const std::uint32_t sameLeads = left & Mask(same);
        if (sameLeads != 0) {
            values =
                _mm256_blendv_epi8(values, LookUpPair(k, marked + pair.number * 128, bytes, following), same);
            left &= ~sameLeads;
        }
        if (left == 0) return values;
        pair = PairNumbered((in[__builtin_ctz(left)] >> 1) & 0x0F);
    }
}

// Where the decoder has got to.
struct Progress {
    std::size_t next;       // the offset of the next window's first byte
    std::uint32_t carried;  // the byte before it leads a two-byte sequence
    std::uint8_t* out;
};

// One window: the 32 bytes at `window` and the 32 after its first byte are read. Its first
// byte is byte `first` of them, and its characters start in the `stride` bytes from there.
template <bool kLowerHalfKept>
VARNEX_AVX2 inline __attribute__((always_inline)) Progress Step(const Constants& k, const FontMap& map,
                                                                const std::uint8_t* in,
                                                                const std::uint8_t* window, unsigned first,
                                                                std::size_t stride, Progress p,
                                                                LeadPair& pair) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window));
    const Window read = ReadWindow(k, bytes, p.carried, ((1u << stride) - 1) << first, first);
    if (!read.plain) {  // other characters, or ill-formed bytes: this window plainly
        std::size_t taken = 0;
        p.out += DecodeUtf8Scalar(map, in + p.next + p.carried, stride - p.carried, p.out, true, &taken);
        return {p.next + p.carried + taken, 0, p.out};
    }
    const __m256i values = Values<kLowerHalfKept>(k, map, window, bytes, read.leads, pair);
    p.out = StoreKept(values, read.starts & ~Mask(_mm256_cmpeq_epi8(values, k.marker)), p.out);
    return {p.next + stride, read.leads >> (first + stride - 1) & 1, p.out};
}

template <bool kLowerHalfKept>
VARNEX_AVX2 std::size_t Decode(const FontMap& map, const std::uint8_t* in, std::size_t count,
                               std::uint8_t* out, bool more, std::size_t* consumed) {
    const Constants k = MakeConstants(map.DropMarker());
    LeadPair pair = PairNumbered(map.BusiestLeadPair());
    Progress p{0, 0, out};
    while (count - p.next >= kStride + 2)
        p = Step<kLowerHalfKept>(k, map, in, in + p.next, 0, kStride, p, pair);
    // The last window ends where the text ends, 33 bytes before it; its characters start in
    // its bytes but the last two, so that the byte after each one is among its 32.
    const std::size_t left = count - p.next;
    if (left >= kShortestWindow && count >= kStride + 2) {
        const auto first = static_cast<unsigned>(kStride + 2 - left);
        p = Step<kLowerHalfKept>(k, map, in, in + count - (kStride + 2), first, left - 2, p, pair);
    }
    p.next += p.carried;
    std::size_t taken = 0;
    p.out += DecodeUtf8Scalar(map, in + p.next, count - p.next, p.out, more, &taken);
    *consumed = p.next + taken;
    return static_cast<std::size_t>(p.out - out);
}

}  // namespace

std::size_t DecodeUtf8Avx2(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                           bool more, std::size_t* consumed) {
    return map.KeepsLowerHalf() ? Decode<true>(map, in, count, out, more, consumed)
                                : Decode<false>(map, in, count, out, more, consumed);
}

}  // namespace varnex::kernels

#endif
