#pragma once

#include <memory>
#include <optional>

#include "batch/BatchHooks.h"
#include "batch/BatchObserver.h"
#include "batch/BatchRequest.h"
#include "batch/DetectorOnDemand.h"
#include "batch/PairMaps.h"
#include "convert/FontMap.h"
#include "detect/FontReadings.h"
#include "documents/SourceFontNames.h"

namespace varnex {

// What every conversion of one batch works with; read, never changed, by all its threads.
struct ConversionRun {
    const BatchRequest& request;
    BatchObserver& observer;
    BatchHooks& hooks;
    FontMap map{};                                 // source to target, for a named source font
    DocumentFonts documentFonts{};                 // with the source's name empty when the batch detects
    bool detects = false;                          // each input's font is detected
    std::unique_ptr<DetectorOnDemand> detector{};  // none for a map without a Unicode font
    std::unique_ptr<PairMaps> pairs{};             // the maps from the fonts that detection finds
    std::optional<FontReading> named{};            // how the named source font reads, for its warning
};

}  // namespace varnex
