#include "convert/CharacterRule.h"

#include "convert/kernels/Kernels.h"

namespace varnex {

namespace {

// Below this many codes the vector loops' set-up costs more than it saves.
constexpr std::size_t kVectorThreshold = 64;

// On AVX2 the packed loop stays: a vector loop that packed entries of up to three codes by a
// shuffle chosen from their lengths converted the GOST transliteration more slowly than it.
std::size_t ConvertMultiCode([[maybe_unused]] VectorLevel level, const FontMap& map, const std::uint8_t* in,
                             std::size_t count, std::uint8_t* out) {
    [[maybe_unused]] const bool vector = count >= kVectorThreshold;
    const std::size_t longest = map.MaxEntryLength();
#if defined(__x86_64__)
    if (vector && level == VectorLevel::Avx512 && longest <= FontMap::kPlanes) {
        return kernels::TranslatePlanesAvx512(map, in, count, out);
    }
#endif
    if (map.PairEntries()) return kernels::TranslatePairs(map, in, count, out);
    return longest <= FontMap::kPackedCodes ? kernels::TranslatePackedShort(map, in, count, out)
                                            : kernels::TranslatePacked(map, in, count, out);
}

std::size_t ConvertOneCode(VectorLevel level, const FontMap& map, const std::uint8_t* in, std::size_t count,
                           std::uint8_t* out) {
    if (count >= kVectorThreshold) {
#if defined(__x86_64__)
        if (level == VectorLevel::Avx512) return kernels::TranslateBytesAvx512(map, in, count, out);
        if (level == VectorLevel::Avx2) return kernels::TranslateBytesAvx2(map, in, count, out);
#elif defined(__aarch64__)
        if (level == VectorLevel::Neon) return kernels::TranslateBytesNeon(map, in, count, out);
#endif
    }
    return kernels::TranslateBytesScalar(map, in, count, out);
}

// The vector decoders take maps of one code per character whose marker is free; text in
// other characters, ill-formed bytes and the last few bytes they leave to the plain loop.
std::size_t DecodeUtf8([[maybe_unused]] VectorLevel level, const FontMap& map, const std::uint8_t* in,
                       std::size_t count, std::uint8_t* out, bool more, std::size_t* consumed) {
#if defined(__x86_64__)
    if (count >= kVectorThreshold && map.AllEntriesSingleOrEmpty() && map.MarkerIsFree()) {
        if (level == VectorLevel::Avx512)
            return kernels::DecodeUtf8Avx512(map, in, count, out, more, consumed);
        if (level == VectorLevel::Avx2) return kernels::DecodeUtf8Avx2(map, in, count, out, more, consumed);
    }
#endif
    return kernels::DecodeUtf8Scalar(map, in, count, out, more, consumed);
}

std::size_t ConvertWholeUtf8(VectorLevel level, const FontMap& map, const std::uint8_t* in, std::size_t count,
                             std::uint8_t* out) {
    const std::size_t mark = ByteOrderMarkLength(in, count);
    std::size_t consumed = 0;
    return DecodeUtf8(level, map, in + mark, count - mark, out, false, &consumed);
}

inline std::size_t ConvertWith(VectorLevel level, const FontMap& map, const std::uint8_t* in,
                               std::size_t count, std::uint8_t* out) {
    if (map.ReadsUtf8()) return ConvertWholeUtf8(level, map, in, count, out);
    return map.AllEntriesSingleOrEmpty() ? ConvertOneCode(level, map, in, count, out)
                                         : ConvertMultiCode(level, map, in, count, out);
}

}  // namespace

std::size_t ConvertedCapacity(const FontMap& map, std::size_t count) {
    const std::size_t perCode = map.MaxEntryLength() > 1 ? map.MaxEntryLength() : 1;
    return count * perCode + kernels::kVectorSlack;
}

std::size_t ConvertCodesAt(VectorLevel level, const FontMap& map, const std::uint8_t* in, std::size_t count,
                           std::uint8_t* out) {
    if (!ProcessorHas(level)) level = VectorLevel::Scalar;
    return ConvertWith(level, map, in, count, out);
}

// The chosen level is always one the processor has: no check per call, since the file job
// calls this for every 1,024 codes.
std::size_t ConvertCodes(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    return ConvertWith(ChosenVectorLevel(), map, in, count, out);
}

std::size_t ConvertUtf8Piece(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed) {
    return DecodeUtf8(ChosenVectorLevel(), map, in, count, out, more, consumed);
}

std::size_t ConvertUtf8PieceAt(VectorLevel level, const FontMap& map, const std::uint8_t* in,
                               std::size_t count, std::uint8_t* out, bool more, std::size_t* consumed) {
    if (!ProcessorHas(level)) level = VectorLevel::Scalar;
    return DecodeUtf8(level, map, in, count, out, more, consumed);
}

std::size_t ByteOrderMarkLength(const std::uint8_t* in, std::size_t count) {
    return count >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF ? 3 : 0;
}

std::size_t FindCodeWithoutEntry(std::string_view text) { return text.find('\0'); }

}  // namespace varnex
