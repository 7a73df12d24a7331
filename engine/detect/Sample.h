#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace varnex {

// What the detector reads of a text: at most its first 64 KiB.
inline constexpr std::size_t kSampleSize = 64 * 1024;

// The first `limit` bytes of a file ("-" for standard input, which is then read that far).
// Throws Failure naming the file.
std::string ReadSample(const std::string& input, std::size_t limit = kSampleSize);

// The first line of what the best reading of a detection reads the sample as, in UTF-8,
// without its line break and cut at `characters`: a preview of the text.
class Detector;
struct Detection;
std::string PreviewLine(const Detector& detector, const std::string& sample, const Detection& detection,
                        std::size_t characters = 72);

}  // namespace varnex
