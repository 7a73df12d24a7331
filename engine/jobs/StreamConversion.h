#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>

#include "convert/FontMap.h"
#include "files/JobFiles.h"

namespace varnex {

// What to do with a code that has no entry (code 0, or a code the pair does not map), and,
// in a text read as UTF-8, with a character without an entry and with ill-formed bytes.
enum class MissingCodes {
    Drop,   // left out, as the window's conversions do
    Count,  // left out and counted per code or character
    Fail,   // the first one is a Failure naming its offset and what it is
};

struct StreamTotals {
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;
    // With MissingCodes::Count: per code, or per character for a map that reads UTF-8.
    std::array<std::uint64_t, 256> missing{};
    std::map<char32_t, std::uint64_t> missingCharacters;
    std::uint64_t illFormed = 0;  // ill-formed byte sequences
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
// The same into any sink that throws at its first failed write.
void ConvertStream(SourceFile& source, const std::filesystem::path& name, ByteSink& output,
                   const FontMap& map, MissingCodes missing, StreamTotals& totals,
                   StreamObserver* observer = nullptr);

// Copies all of `source` into `output` as it is, in the same pieces: for an input that is in
// the target font already. Throws Failure.
void CopyStream(SourceFile& source, NewFile& output, StreamTotals& totals,
                StreamObserver* observer = nullptr);
void CopyStream(SourceFile& source, ByteSink& output, StreamTotals& totals,
                StreamObserver* observer = nullptr);

}  // namespace varnex
