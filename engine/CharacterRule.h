#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FontMap.h"

namespace varnex {

// Room that ConvertCodes needs at `out` for `count` input codes: every entry may be used
// for every code, and the packed loop stores eight bytes at a time.
std::size_t ConvertedCapacity(const FontMap& map, std::size_t count);

// Applies the character rule to every code of `in`: code c in 1..255 becomes map.Entry(c),
// code 0 has no entry and is left out. Writes to `out`, which must hold
// ConvertedCapacity(map, count) bytes, and returns the number of bytes produced.
std::size_t ConvertCodes(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out);

// The instruction sets the conversion loop can use; ConvertCodes takes the best one the
// processor has.
enum class VectorLevel { Scalar, Avx2, Avx512 };
VectorLevel SupportedVectorLevel();
std::size_t ConvertCodesAt(VectorLevel level, const FontMap& map, const std::uint8_t* in, std::size_t count,
                           std::uint8_t* out);

// Index of the first code in `text` without an entry (code 0), or npos.
std::size_t FindCodeWithoutEntry(std::string_view text);

}  // namespace varnex
