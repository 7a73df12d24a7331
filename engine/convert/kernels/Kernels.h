#pragma once

// The conversion loops, one file per instruction set. Each takes the codes of `in` and
// writes their entries to `out`, which holds ConvertedCapacity(map, count) bytes, and
// returns the number of bytes produced. Each reads no input past in + count.

#include <cstddef>
#include <cstdint>

#include "convert/FontMap.h"

namespace varnex::kernels {

// A vector store may write this far past the last byte produced.
constexpr std::size_t kVectorSlack = 64;

// ScalarKernel.cpp: any processor.
std::size_t TranslateBytesScalar(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out);
std::size_t TranslatePackedShort(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out);
// Needs map.PairEntries().
std::size_t TranslatePairs(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out);
std::size_t TranslatePacked(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out);
std::uint8_t* PutEntry(const FontMap& map, std::uint8_t code, std::uint8_t* out);

// Utf8ScalarKernel.cpp: maps that read UTF-8 (FontMap::ReadsUtf8), any processor. A
// decoder converts the units of in[0..count) (Utf8Unit.h; ill-formed ones are dropped) and
// returns the number of bytes produced. *consumed tells how many input bytes it took: all of
// them, except that with `more` (more text follows) a character cut short at the end is
// left for the next call.
std::size_t DecodeUtf8Scalar(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed);

// Where a run of units one at a time ended: the next unit's offset, the output, and whether
// it stopped at a character cut short that `more` asks to keep.
struct Utf8Step {
    std::size_t next;
    std::uint8_t* out;
    bool held;
};
// Converts the units that start in in[from..stop), reading up to in[count).
Utf8Step DecodeUtf8Units(const FontMap& map, const std::uint8_t* in, std::size_t from, std::size_t stop,
                         std::size_t count, bool more, std::uint8_t* out);

#if defined(__x86_64__)
// Avx2Kernel.cpp
std::size_t TranslateBytesAvx2(const FontMap& map, const std::uint8_t* in, std::size_t count,
                               std::uint8_t* out);
// Utf8Avx2Kernel.cpp and Utf8Avx512Kernel.cpp: maps that read UTF-8 whose entries have at
// most one code, and whose marker is free; as DecodeUtf8Scalar.
std::size_t DecodeUtf8Avx2(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                           bool more, std::size_t* consumed);
std::size_t DecodeUtf8Avx512(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed);

// Avx512Kernel.cpp (AVX-512 VBMI and VBMI2)
std::size_t TranslateBytesAvx512(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                 std::uint8_t* out);
// Entries of up to FontMap::kPlanes codes.
std::size_t TranslatePlanesAvx512(const FontMap& map, const std::uint8_t* in, std::size_t count,
                                  std::uint8_t* out);

// WideAvx512Kernel.cpp (AVX-512 VBMI): codes to 16-bit code points, the low and the high byte
// of each code's point read from two 256-entry tables, 64 codes at a time. Stops before the
// first 64 codes of which one reads `stopHigh` as its high byte (a code the tables do not
// give), and at the last full 64; returns how many codes it wrote, and ORs their points
// into `joined`.
std::size_t WidenAvx512(const std::uint8_t* lowTable, const std::uint8_t* highTable, std::uint8_t stopHigh,
                        const std::uint8_t* in, std::size_t count, char16_t* out, std::uint16_t& joined);
#endif

#if defined(__aarch64__)
// NeonKernel.cpp
std::size_t TranslateBytesNeon(const FontMap& map, const std::uint8_t* in, std::size_t count,
                               std::uint8_t* out);
#endif

}  // namespace varnex::kernels
