#include "convert/ConvertChunk.h"

#include <string>

#include "Failure.h"
#include "convert/CharacterRule.h"

namespace varnex {

namespace {

void CheckLength(std::string_view chunk) {
    if (chunk.size() > kMaxChunkLength) {
        throw Failure(kOverflow, "Overflow: a chunk of " + std::to_string(chunk.size()) +
                                     " characters is longer than the 32766 that can be converted at once.");
    }
}

}  // namespace

void ConvertChunk(std::string_view chunk, const FontMap& map, ByteSink& newFile) {
    CheckLength(chunk);
    if (chunk.empty()) return;
    std::uint8_t* out = newFile.Reserve(ConvertedCapacity(map, chunk.size()));
    const std::size_t produced =
        ConvertCodes(map, reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size(), out);
    if (produced > 0) newFile.Commit(produced);
}

void ConvertChunk(std::string_view chunk, PieceConversion& conversion, ByteSink& newFile) {
    CheckLength(chunk);
    if (chunk.empty()) return;
    std::uint8_t* out = newFile.Reserve(conversion.Capacity(chunk.size()));
    const std::size_t produced = conversion.Convert(chunk, out);
    if (produced > 0) newFile.Commit(produced);
}

}  // namespace varnex
