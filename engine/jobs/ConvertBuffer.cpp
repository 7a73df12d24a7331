#include "jobs/ConvertBuffer.h"

#include <exception>

namespace varnex {

namespace {

void Report(const std::exception& failure, Dialogs& dialogs) {
    dialogs.Show(Message{failure.what(), "Varnex Error - Buffer Convertion", MessageIcon::Critical,
                         MessageButtons::Ok, false, true});
}

}  // namespace

void ConvertBuffer(std::string_view chunk, const FontMap& map, ByteSink& newFile, Dialogs& dialogs) {
    try {
        ConvertChunk(chunk, map, newFile);
    } catch (const std::exception& failure) {
        Report(failure, dialogs);
    }
}

void ConvertBuffer(std::string_view chunk, PieceConversion& conversion, ByteSink& newFile, Dialogs& dialogs) {
    try {
        ConvertChunk(chunk, conversion, newFile);
    } catch (const std::exception& failure) {
        Report(failure, dialogs);
    }
}

}  // namespace varnex
