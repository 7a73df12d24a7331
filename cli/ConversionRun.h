#pragma once

#include "ConvertOptions.h"
#include "convert/FontMap.h"
#include "documents/SourceFontNames.h"
#include "files/SafeOutput.h"

namespace varnex::cli {

// What every conversion of one run works with; read, never changed, by all its threads.
struct ConversionRun {
    const ConvertOptions& options;
    FontMap map;
    DocumentFonts documentFonts{};
    TemporaryFile temporaryFiles = TemporaryFile::Unnamed;
};

}  // namespace varnex::cli
