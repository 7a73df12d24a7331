#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "detect/Detection.h"
#include "detect/FontReadings.h"

namespace varnex {

class Detector;

// Looks for text that was read in the wrong font and saved again: the sample read in
// `stored` (the best plain reading) is written back in each font B and read in each other
// font A; when one such reading is far more natural than the plain one, the text was typed
// in A and read as B. Never for a plain reading that is natural already.
std::optional<ReadWrong> FindReadWrong(const Detector& detector, std::string_view sample, std::size_t stored,
                                       const Candidate& plain);

// The bytes of a text written in a font (a FontReading's characters the other way round);
// nullopt when the font lacks one of its characters.
std::optional<std::string> WriteIn(const FontReading& font, std::u32string_view text);

}  // namespace varnex
