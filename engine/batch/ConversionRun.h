#pragma once

#include "batch/BatchHooks.h"
#include "batch/BatchObserver.h"
#include "batch/BatchRequest.h"
#include "convert/FontMap.h"
#include "documents/SourceFontNames.h"

namespace varnex {

// What every conversion of one batch works with; read, never changed, by all its threads.
struct ConversionRun {
    const BatchRequest& request;
    BatchObserver& observer;
    BatchHooks& hooks;
    FontMap map{};
    DocumentFonts documentFonts{};
};

}  // namespace varnex
