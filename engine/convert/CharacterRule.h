#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/FontMap.h"

namespace varnex {

// Room that ConvertCodes needs at `out` for `count` input codes: every entry may be used
// for every code, and the vector loops store up to 64 bytes at a time.
std::size_t ConvertedCapacity(const FontMap& map, std::size_t count);

// Applies the character rule to every code of `in`: code c in 1..255 becomes map.Entry(c),
// code 0 has no entry and is left out. Writes to `out`, which must hold
// ConvertedCapacity(map, count) bytes, and returns the number of bytes produced. Uses the
// chosen conversion path (ChosenVectorLevel).
// A map that reads UTF-8 takes `in` as a whole UTF-8 text instead: a byte order mark at its
// start is dropped, each character converts by its entry, and a character without one and
// every ill-formed byte are left out.
std::size_t ConvertCodes(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out);

// For a map that reads UTF-8: converts the characters of in[0..count), a piece of a text
// (no byte order mark is looked for). Returns the bytes produced; *consumed tells how many
// input bytes were taken: all, except that with `more` (more of the text follows) a
// character cut short at the end is left for the next piece.
std::size_t ConvertUtf8Piece(const FontMap& map, const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                             bool more, std::size_t* consumed);

// The length of the byte order mark at the start of a UTF-8 text: 3 or 0.
std::size_t ByteOrderMarkLength(const std::uint8_t* in, std::size_t count);

// The conversion paths: the plain x86-64 or portable loop, AVX2, AVX-512 VBMI, ARM64 NEON.
enum class VectorLevel { Scalar, Avx2, Avx512, Neon };

// The name VARNEX_VECTOR uses for a path: scalar, avx2, avx512, neon.
const char* VectorLevelName(VectorLevel level);
bool ProcessorHas(VectorLevel level);
// Every path this processor can run, the plain one first and the fastest last.
std::vector<VectorLevel> VectorLevelsHere();
// The fastest path this processor has.
VectorLevel SupportedVectorLevel();

// Converts with the given path; one the processor lacks falls back to the plain loop.
std::size_t ConvertCodesAt(VectorLevel level, const FontMap& map, const std::uint8_t* in, std::size_t count,
                           std::uint8_t* out);
std::size_t ConvertUtf8PieceAt(VectorLevel level, const FontMap& map, const std::uint8_t* in,
                               std::size_t count, std::uint8_t* out, bool more, std::size_t* consumed);

// The path ConvertCodes uses: the one VARNEX_VECTOR names where this processor has it,
// otherwise the fastest.
VectorLevel ChosenVectorLevel();
// Makes ConvertCodes use `level`; throws Failure if the processor lacks it.
void ChooseVectorLevel(VectorLevel level);
// What is wrong with `value` as a VARNEX_VECTOR setting on this processor, or "" if nothing
// (an empty value means the fastest path).
std::string VectorChoiceProblem(std::string_view value);
// Called once at program start: applies VARNEX_VECTOR, and throws Failure with the
// problem text if it names no path or one this processor lacks.
void ApplyVectorChoice();

// Index of the first code in `text` without an entry (code 0), or npos.
std::size_t FindCodeWithoutEntry(std::string_view text);

}  // namespace varnex
