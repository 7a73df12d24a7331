#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "convert/FontMap.h"
#include "files/JobFiles.h"

namespace varnex {

// What to do with a code that has no entry (code 0, or a code the pair does not map).
enum class MissingCodes {
    Drop,   // left out, as the window's conversions do
    Count,  // left out and counted per code
    Fail,   // the first one is a Failure naming its offset and code
};

struct StreamTotals {
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;
    std::array<std::uint64_t, 256> missing{};  // per code, with MissingCodes::Count
    std::uint64_t MissingCount() const;
};

// Told of the progress of a stream conversion.
class StreamObserver {
public:
    virtual ~StreamObserver() = default;
    virtual void Advanced(std::uint64_t bytesIn) = 0;
};

// Converts all of `source` into `output` with the character rule, in large pieces. The
// converted bytes are byte for byte those of the file job. `totals` runs on over several
// inputs; `name` names the input in a failure. Throws Failure.
void ConvertStream(SourceFile& source, const std::filesystem::path& name, NewFile& output, const FontMap& map,
                   MissingCodes missing, StreamTotals& totals, StreamObserver* observer = nullptr);

}  // namespace varnex
