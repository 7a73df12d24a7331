#include "CharacterRule.h"

#include <immintrin.h>

#include <array>
#include <cstring>

namespace varnex {

namespace {

std::size_t TranslateBytesScalar(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const auto& value = map.ByteValues();
    const auto& keep = map.ByteKeeps();
    std::uint8_t* const start = out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t c = in[i];
        *out = value[c];
        out += keep[c];
    }
    return static_cast<std::size_t>(out - start);
}

// Every entry of up to seven codes is stored as eight bytes at once; the length byte on top
// is overwritten by the next entry. Longer entries are copied from the map itself.
std::uint8_t* PutEntry(const FontMap& map, std::uint8_t code, std::uint8_t* out) {
    const std::uint64_t entry = map.Packed()[code];
    const auto length = static_cast<std::uint8_t>(entry >> 56);
    if (length != FontMap::kEscape) {
        std::memcpy(out, &entry, 8);
        return out + length;
    }
    const std::string_view codes = map.Entry(code);
    std::memcpy(out, codes.data(), codes.size());
    return out + codes.size();
}

// Without long entries, four codes are placed per step: their output offsets are summed
// from the length bytes up front, so that the stores do not wait on one another.
std::size_t TranslatePackedShort(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out) {
    const auto& packed = map.Packed();
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, in + i, 4);
        const std::uint64_t e0 = packed[four & 0xFF], e1 = packed[(four >> 8) & 0xFF];
        const std::uint64_t e2 = packed[(four >> 16) & 0xFF], e3 = packed[four >> 24];
        const std::size_t at1 = e0 >> 56, at2 = at1 + (e1 >> 56), at3 = at2 + (e2 >> 56);
        std::memcpy(out, &e0, 8);
        std::memcpy(out + at1, &e1, 8);
        std::memcpy(out + at2, &e2, 8);
        std::memcpy(out + at3, &e3, 8);
        out += at3 + (e3 >> 56);
    }
    for (; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

std::size_t TranslatePacked(const FontMap& map, const std::uint8_t* in, std::size_t count,
                            std::uint8_t* out) {
    std::uint8_t* const start = out;
    for (std::size_t i = 0; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

// Looks up 32 codes at once. For group g, (x - 16g) saturating-plus 0x70 keeps bit 7 clear
// exactly for the codes of that group, and vpshufb gives zero wherever bit 7 is set.
__attribute__((target("avx2"))) std::size_t TranslateBytesAvx2(const FontMap& map, const std::uint8_t* in,
                                                               std::size_t count, std::uint8_t* out) {
    const FontMap::ByteGroups& groups = map.Groups();
    const auto* values = reinterpret_cast<const __m256i*>(groups.values);
    const auto* drops = reinterpret_cast<const __m256i*>(groups.drops);
    const __m256i sixteen = _mm256_set1_epi8(16);
    const __m256i bias = _mm256_set1_epi8(0x70);
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i codes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        __m256i shifted = codes;
        __m256i result = _mm256_setzero_si256();
        for (int g = 0; g < 16; ++g) {
            const __m256i index = _mm256_adds_epu8(shifted, bias);
            result = _mm256_or_si256(result, _mm256_shuffle_epi8(_mm256_load_si256(values + g), index));
            shifted = _mm256_sub_epi8(shifted, sixteen);
        }
        __m256i dropped = _mm256_setzero_si256();
        for (int k = 0; k < groups.dropGroupCount; ++k) {
            const int g = groups.groupsWithDrops[k];
            const __m256i index =
                _mm256_adds_epu8(_mm256_sub_epi8(codes, _mm256_set1_epi8(static_cast<char>(g * 16))), bias);
            dropped = _mm256_or_si256(dropped, _mm256_shuffle_epi8(_mm256_load_si256(drops + g), index));
        }
        if (_mm256_testz_si256(dropped, dropped)) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), result);
            out += 32;
        } else {
            out += TranslateBytesScalar(map, in + i, 32, out);
        }
    }
    out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

// Looks up 64 codes at once: vpermi2b covers 128 table entries, so two of them and a blend
// on bit 7 cover all 256. Codes without an entry are squeezed out with vpcompressb.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))) std::size_t TranslateBytesAvx512(
    const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    const std::uint8_t* value = map.ByteValues().data();
    const std::uint8_t* keep = map.ByteKeeps().data();
    const __m512i v0 = _mm512_loadu_si512(value), v1 = _mm512_loadu_si512(value + 64);
    const __m512i v2 = _mm512_loadu_si512(value + 128), v3 = _mm512_loadu_si512(value + 192);
    const __m512i k0 = _mm512_loadu_si512(keep), k1 = _mm512_loadu_si512(keep + 64);
    const __m512i k2 = _mm512_loadu_si512(keep + 128), k3 = _mm512_loadu_si512(keep + 192);
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const __m512i codes = _mm512_loadu_si512(in + i);
        const __mmask64 high = _mm512_movepi8_mask(codes);
        const __m512i result = _mm512_mask_blend_epi8(high, _mm512_permutex2var_epi8(v0, codes, v1),
                                                      _mm512_permutex2var_epi8(v2, codes, v3));
        const __m512i kept = _mm512_mask_blend_epi8(high, _mm512_permutex2var_epi8(k0, codes, k1),
                                                    _mm512_permutex2var_epi8(k2, codes, k3));
        const __mmask64 keepMask = _mm512_test_epi8_mask(kept, kept);
        if (keepMask == ~__mmask64{0}) {
            _mm512_storeu_si512(out, result);
            out += 64;
        } else {
            _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keepMask, result));
            out += __builtin_popcountll(keepMask);
        }
    }
    out += TranslateBytesScalar(map, in + i, count - i, out);
    return static_cast<std::size_t>(out - start);
}

// A 256-entry byte table lookup of 64 codes: two vpermi2b and a blend on bit 7.
struct ByteTable512 {
    __m512i q0, q1, q2, q3;
};

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline ByteTable512 LoadTable512(
    const std::uint8_t* table) {
    return {_mm512_loadu_si512(table), _mm512_loadu_si512(table + 64), _mm512_loadu_si512(table + 128),
            _mm512_loadu_si512(table + 192)};
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i Lookup512(const ByteTable512& t,
                                                                                __m512i codes) {
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(codes), _mm512_permutex2var_epi8(t.q0, codes, t.q1),
                                  _mm512_permutex2var_epi8(t.q2, codes, t.q3));
}

// Entries of up to four codes, sixteen input codes per step: each code is spread over four
// output slots, slot j takes the entry's code j, and vpcompressb drops the unused slots.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))) std::size_t TranslatePlanesAvx512(
    const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    ByteTable512 planes[FontMap::kPlanes];
    for (int j = 0; j < FontMap::kPlanes; ++j) planes[j] = LoadTable512(map.Plane(j));
    const ByteTable512 lengths = LoadTable512(map.EntryLengths());
    alignas(64) std::uint8_t spreadIndex[64], slotNumber[64];
    for (int k = 0; k < 64; ++k) {
        spreadIndex[k] = static_cast<std::uint8_t>(k / 4);
        slotNumber[k] = static_cast<std::uint8_t>(k % 4);
    }
    const __m512i spread = _mm512_load_si512(spreadIndex);
    const __m512i slots = _mm512_load_si512(slotNumber);
    const __mmask64 slot1 = 0x2222222222222222ull, slot2 = 0x4444444444444444ull,
                    slot3 = 0x8888888888888888ull;
    std::uint8_t* const start = out;
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i codes = _mm512_maskz_permutexvar_epi8(
            ~__mmask64{0}, spread,
            _mm512_zextsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i))));
        __m512i result = Lookup512(planes[0], codes);
        result = _mm512_mask_blend_epi8(slot1, result, Lookup512(planes[1], codes));
        result = _mm512_mask_blend_epi8(slot2, result, Lookup512(planes[2], codes));
        result = _mm512_mask_blend_epi8(slot3, result, Lookup512(planes[3], codes));
        const __mmask64 used = _mm512_cmplt_epu8_mask(slots, Lookup512(lengths, codes));
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(used, result));
        out += __builtin_popcountll(used);
    }
    for (; i < count; ++i) out = PutEntry(map, in[i], out);
    return static_cast<std::size_t>(out - start);
}

bool HasAvx512Vbmi() {
    static const bool supported = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                                  __builtin_cpu_supports("avx512vbmi") &&
                                  __builtin_cpu_supports("avx512vbmi2");
    return supported;
}

bool HasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

constexpr std::size_t kVectorThreshold = 64;
constexpr std::size_t kVectorSlack = 64;  // a vector store may write this far past the last code

}  // namespace

std::size_t ConvertedCapacity(const FontMap& map, std::size_t count) {
    const std::size_t perCode = map.MaxEntryLength() > 1 ? map.MaxEntryLength() : 1;
    return count * perCode + kVectorSlack;
}

VectorLevel SupportedVectorLevel() {
    if (HasAvx512Vbmi()) return VectorLevel::Avx512;
    if (HasAvx2()) return VectorLevel::Avx2;
    return VectorLevel::Scalar;
}

std::size_t ConvertCodesAt(VectorLevel level, const FontMap& map, const std::uint8_t* in, std::size_t count,
                           std::uint8_t* out) {
    const bool vector = count >= kVectorThreshold;
    if (!map.AllEntriesSingleOrEmpty()) {
        if (vector && level == VectorLevel::Avx512 && map.MaxEntryLength() <= FontMap::kPlanes) {
            return TranslatePlanesAvx512(map, in, count, out);
        }
        return map.MaxEntryLength() <= FontMap::kPackedCodes ? TranslatePackedShort(map, in, count, out)
                                                             : TranslatePacked(map, in, count, out);
    }
    if (vector && level == VectorLevel::Avx512) return TranslateBytesAvx512(map, in, count, out);
    if (vector && level == VectorLevel::Avx2) return TranslateBytesAvx2(map, in, count, out);
    return TranslateBytesScalar(map, in, count, out);
}

std::size_t ConvertCodes(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    static const VectorLevel level = SupportedVectorLevel();
    return ConvertCodesAt(level, map, in, count, out);
}

std::size_t FindCodeWithoutEntry(std::string_view text) { return text.find('\0'); }

}  // namespace varnex
