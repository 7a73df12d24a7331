#include "convert/ConvertBuffer.h"

#include <string>

#include "Failure.h"
#include "convert/CharacterRule.h"

namespace varnex {

void ConvertChunk(std::string_view chunk, const FontMap& map, ByteSink& newFile) {
    if (chunk.size() > kMaxChunkLength) {
        throw Failure(kOverflow, "Overflow: a chunk of " + std::to_string(chunk.size()) +
                                     " characters is longer than the 32766 that can be converted at once.");
    }
    if (chunk.empty()) return;
    std::uint8_t* out = newFile.Reserve(ConvertedCapacity(map, chunk.size()));
    const std::size_t produced =
        ConvertCodes(map, reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size(), out);
    if (produced > 0) newFile.Commit(produced);
}

void ConvertBuffer(std::string_view chunk, const FontMap& map, ByteSink& newFile, Dialogs& dialogs) {
    try {
        ConvertChunk(chunk, map, newFile);
    } catch (const std::exception& failure) {
        dialogs.Show(Message{failure.what(), "Varnex Error - Buffer Convertion", MessageIcon::Critical,
                             MessageButtons::Ok, false, true});
    }
}

}  // namespace varnex
