#if defined(__x86_64__)

#include <immintrin.h>

#include "convert/kernels/Avx512Parts.h"
#include "convert/kernels/Kernels.h"

namespace varnex::kernels {

namespace {

// Looks up 64 codes at once in the marked table: vpermi2b covers 128 table entries, so two
// of them and a blend on bit 7 cover all 256, or one when the lower half is the code itself.
// Codes without an entry read the marker and are squeezed out with vpcompressb.
template <bool kLowerHalfKept>
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))) std::size_t TranslateBytes(
    const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    const ByteTable512 values = LoadTable512(map.MarkedValues().data());
    const __m512i marker = _mm512_set1_epi8(static_cast<char>(map.DropMarker()));
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const __m512i codes = _mm512_loadu_si512(in + i);
        const __m512i upper = _mm512_permutex2var_epi8(values.q2, codes, values.q3);
        const __m512i lower = kLowerHalfKept ? codes : _mm512_permutex2var_epi8(values.q0, codes, values.q1);
        const __m512i result = _mm512_mask_blend_epi8(_mm512_movepi8_mask(codes), lower, upper);
        const __mmask64 keepMask = _mm512_cmpneq_epi8_mask(result, marker);
        if (keepMask == ~__mmask64{0}) {
            _mm512_storeu_si512(out, result);
            out += 64;
        } else {
            _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keepMask, result));
            out += __builtin_popcountll(keepMask);
        }
    }
    if (i < count) out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace

std::size_t TranslateBytesAvx512(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    return map.KeepsLowerHalf() ? TranslateBytes<true>(map, in, count, out)
                                : TranslateBytes<false>(map, in, count, out);
}

namespace {

// Sixteen codes of entries of up to four codes: each code is spread over four output slots,
// slot j takes the entry's code j, and vpcompressb drops the unused slots.
struct FourSlots {
    ByteTable512 planes[FontMap::kPlanes];
    ByteTable512 lengths;
    __m512i spread, slots;
};

__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt"))) inline std::uint8_t* PlaceSixteen(
    const FourSlots& t, const std::uint8_t* in, std::uint8_t* out) {
    const __mmask64 slot1 = 0x2222222222222222ull, slot2 = 0x4444444444444444ull,
                    slot3 = 0x8888888888888888ull;
    const __m512i codes = _mm512_maskz_permutexvar_epi8(
        ~__mmask64{0}, t.spread,
        _mm512_zextsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in))));
    __m512i result = Lookup512(t.planes[0], codes);
    result = _mm512_mask_blend_epi8(slot1, result, Lookup512(t.planes[1], codes));
    result = _mm512_mask_blend_epi8(slot2, result, Lookup512(t.planes[2], codes));
    result = _mm512_mask_blend_epi8(slot3, result, Lookup512(t.planes[3], codes));
    const __mmask64 used = _mm512_cmplt_epu8_mask(t.slots, Lookup512(t.lengths, codes));
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(used, result));
    return out + __builtin_popcountll(used);
}

// 32 codes whose entries have at most two codes (UTF-8 below U+0800: ASCII and letters), two
// slots each: half the lookups of four slots.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt"))) inline std::uint8_t* PlaceThirtyTwo(
    const FourSlots& t, __m512i codes64, __m512i lengths64, __m512i spread, __m512i slots,
    std::uint8_t* out) {
    const __m512i codes = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, spread, codes64);
    const __m512i result = _mm512_mask_blend_epi8(0xAAAAAAAAAAAAAAAAull, Lookup512(t.planes[0], codes),
                                                  Lookup512(t.planes[1], codes));
    const __mmask64 used =
        _mm512_cmplt_epu8_mask(slots, _mm512_maskz_permutexvar_epi8(~__mmask64{0}, spread, lengths64));
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(used, result));
    return out + __builtin_popcountll(used);
}

}  // namespace

// Entries of up to four codes, 64 input codes per step: two slots per code where none of
// the 64 has more than two codes, four slots per code otherwise.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))) std::size_t TranslatePlanesAvx512(
    const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    FourSlots t;
    for (int j = 0; j < FontMap::kPlanes; ++j) t.planes[j] = LoadTable512(map.Plane(j));
    t.lengths = LoadTable512(map.EntryLengths());
    alignas(64) std::uint8_t spreadIndex[64], slotNumber[64], spreadLow[64], spreadHigh[64], twoSlots[64];
    for (int k = 0; k < 64; ++k) {
        spreadIndex[k] = static_cast<std::uint8_t>(k / 4);
        slotNumber[k] = static_cast<std::uint8_t>(k % 4);
        spreadLow[k] = static_cast<std::uint8_t>(k / 2);
        spreadHigh[k] = static_cast<std::uint8_t>(32 + k / 2);
        twoSlots[k] = static_cast<std::uint8_t>(k % 2);
    }
    t.spread = _mm512_load_si512(spreadIndex);
    t.slots = _mm512_load_si512(slotNumber);
    const __m512i low = _mm512_load_si512(spreadLow), high = _mm512_load_si512(spreadHigh);
    const __m512i slots2 = _mm512_load_si512(twoSlots);
    const __m512i two = _mm512_set1_epi8(2);
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const __m512i codes = _mm512_loadu_si512(in + i);
        const __m512i lengths = Lookup512(t.lengths, codes);
        if (_mm512_cmpgt_epu8_mask(lengths, two) == 0) {
            out = PlaceThirtyTwo(t, codes, lengths, low, slots2, out);
            out = PlaceThirtyTwo(t, codes, lengths, high, slots2, out);
        } else {
            for (int k = 0; k < 64; k += 16) out = PlaceSixteen(t, in + i + k, out);
        }
    }
    for (; i + 16 <= count; i += 16) out = PlaceSixteen(t, in + i, out);
    for (; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

}  // namespace varnex::kernels

#endif
