#pragma once

#include <cstdint>
#include <string>

#include "batch/ConversionRun.h"
#include "batch/InputList.h"
#include "files/JobFiles.h"
#include "text/ByteSink.h"

namespace varnex {

// What converting one input came to.
struct Converted {
    std::uint64_t bytesIn = 0;
    std::uint64_t dropped = 0;  // codes (or characters) without an entry
    std::string font;           // when the batch detects: the font it was found in
};

// Converts a text input onto the end of `output`, a sink that throws at its first failed
// write; with the request's report, the observer is told what was dropped. Throws Failure,
// or ConversionCancelled when the observer asks to stop.
Converted ConvertText(const ConversionRun& run, const Input& input, ByteSink& output);

// Converts a text or a document into a new file of its own. Throws as ConvertText.
Converted ConvertIntoFile(const ConversionRun& run, const Input& input, NewFile& output);

// The size of the input where it is known (a regular file), else 0.
std::uint64_t KnownSize(const Input& input);

}  // namespace varnex
