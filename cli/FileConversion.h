#pragma once

#include <cstdint>

#include "ConversionRun.h"
#include "InputList.h"
#include "Messages.h"
#include "ProgressBar.h"
#include "files/JobFiles.h"
#include "text/ByteSink.h"

namespace varnex::cli {

// What converting one input came to.
struct Converted {
    std::uint64_t bytesIn = 0;
    std::uint64_t dropped = 0;  // codes (or characters) without an entry
};

// Converts a text input onto the end of `output`, a sink that throws at its first failed
// write; with --report, says on a line what was dropped. Throws Failure.
Converted ConvertText(const ConversionRun& run, const Input& input, ByteSink& output, Messages& messages,
                      ProgressBar* progress);

// Converts a text or a document into a new file of its own. Throws Failure.
Converted ConvertIntoFile(const ConversionRun& run, const Input& input, NewFile& output, Messages& messages,
                          ProgressBar* progress);

// The size of the input where it is known (a regular file), else 0.
std::uint64_t KnownSize(const Input& input);

}  // namespace varnex::cli
