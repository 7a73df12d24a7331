#pragma once

#include <string_view>

#include "Dialogs.h"
#include "convert/ConvertChunk.h"
#include "convert/FontMap.h"
#include "convert/PieceConversion.h"
#include "text/ByteSink.h"

namespace varnex {

// ConvertChunk with its failure reported instead of thrown: a chunk over kMaxChunkLength or
// a failed write is shown through dialogs ("Varnex Error - Buffer Convertion") and nothing
// of the chunk is written; the call always returns normally.
void ConvertBuffer(std::string_view chunk, const FontMap& map, ByteSink& newFile, Dialogs& dialogs);

// The same for a chunk that is one piece of a longer text (the file job's blocks).
void ConvertBuffer(std::string_view chunk, PieceConversion& conversion, ByteSink& newFile, Dialogs& dialogs);

}  // namespace varnex
