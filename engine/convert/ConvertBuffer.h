#pragma once

#include <string_view>

#include "Dialogs.h"
#include "convert/FontMap.h"
#include "convert/PieceConversion.h"
#include "text/ByteSink.h"

namespace varnex {

// Positions in a text handled in one piece are counted in signed 16-bit integers.
inline constexpr std::size_t kMaxChunkLength = 32766;

// Converts one chunk (one 8-bit code per character) with the character rule and appends
// the result to newFile in one write. Codes without an entry are dropped. A chunk over
// kMaxChunkLength or a failed write is reported through dialogs and nothing of the
// chunk is written; the call always returns normally.
void ConvertBuffer(std::string_view chunk, const FontMap& map, ByteSink& newFile, Dialogs& dialogs);

// The same without the report: throws Failure.
void ConvertChunk(std::string_view chunk, const FontMap& map, ByteSink& newFile);

// Both for a chunk that is one piece of a longer text (the file job's blocks): a character
// of the Unicode font split between two chunks converts once, whole.
void ConvertBuffer(std::string_view chunk, PieceConversion& conversion, ByteSink& newFile, Dialogs& dialogs);
void ConvertChunk(std::string_view chunk, PieceConversion& conversion, ByteSink& newFile);

}  // namespace varnex
