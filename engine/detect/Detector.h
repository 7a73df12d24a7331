#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "detect/Detection.h"
#include "detect/FontReadings.h"
#include "map/LoadedMap.h"

namespace varnex {

// How far a detection goes.
enum class DetectionDepth {
    Whole,     // every candidate's confidence and language
    FontOnly,  // stops as soon as one font (group) is left: for converting, not for showing
};

// Ranks every font of a map for a sample of bytes. Each font reads the sample as Unicode text
// through the map's rows (the Unicode font as UTF-8); fonts that read it as the same text are
// one candidate; each text is scored with the language models. Immutable once made: one
// detector may serve several threads.
class Detector {
public:
    explicit Detector(const LoadedMap& map);  // throws Failure (a map without a Unicode font)

    Detection Detect(std::string_view sample, DetectionDepth depth = DetectionDepth::Whole) const;

    // The font that the sample reads as instead of `named` (a font of the map, by its own
    // name), when it reads as that one surely (confidence 0.95 or more) and as `named` far
    // worse: for a warning that the font given is the wrong one. Nothing for text that reads
    // well in `named`, or that has fewer than kLettersToWarn letters.
    std::optional<std::string> ReadsBetterAs(std::string_view sample, const std::string& named) const;

    const std::vector<FontReading>& Readings() const { return readings_; }
    // The text that a font reads the sample as.
    std::u32string Read(std::string_view sample, std::size_t font) const;

    // The fewest letters a reading needs before the detector tells its font.
    static constexpr std::size_t kFewestLetters = 8;
    static constexpr std::size_t kLettersToWarn = 16;

private:
    std::vector<FontReading> readings_;
};

}  // namespace varnex
