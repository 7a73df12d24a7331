#pragma once

#include <cstddef>
#include <string_view>

#include "convert/FontMap.h"
#include "convert/PieceConversion.h"
#include "text/ByteSink.h"

namespace varnex {

// Positions in a text handled in one piece are counted in signed 16-bit integers.
inline constexpr std::size_t kMaxChunkLength = 32766;

// Converts one chunk (one 8-bit code per character) with the character rule and appends
// the result to newFile in one write. Codes without an entry are dropped. A chunk over
// kMaxChunkLength throws Failure (kOverflow) before anything is written; a failed write
// throws what the sink throws.
void ConvertChunk(std::string_view chunk, const FontMap& map, ByteSink& newFile);

// The same for a chunk that is one piece of a longer text (the file job's blocks): a
// character of the Unicode font split between two chunks converts once, whole.
void ConvertChunk(std::string_view chunk, PieceConversion& conversion, ByteSink& newFile);

}  // namespace varnex
