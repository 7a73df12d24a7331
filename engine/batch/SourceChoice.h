#pragma once

#include <string>
#include <string_view>

#include "batch/ConversionRun.h"
#include "convert/FontMap.h"

namespace varnex {

// How one input of a batch is converted.
struct SourceChoice {
    enum class Way {
        Map,    // with `map`, from `font`
        Copy,   // it is in the target font already (or in any font: plain ASCII): copied unchanged
        Twice,  // read in the wrong font and saved again: `first` undoes that, then `map`
    };
    Way way = Way::Map;
    const FontMap* map = nullptr;
    const FontMap* first = nullptr;
    FoundFont found;  // what detection found, when the batch detects
};

// The way to convert an input whose first bytes are `sample`: with the batch's own map for a
// named source font (the observer is told when the sample surely reads as another font; with
// strict that fails the input); detected from the sample when the batch detects. Throws
// Failure naming the input when its font cannot be told.
SourceChoice ChooseSource(const ConversionRun& run, const std::string& shownName, std::string_view sample);

}  // namespace varnex
