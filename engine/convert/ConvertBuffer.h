#pragma once

#include <string_view>

#include "Dialogs.h"
#include "convert/ByteSink.h"
#include "convert/FontMap.h"

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

}  // namespace varnex
