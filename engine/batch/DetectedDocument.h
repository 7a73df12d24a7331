#pragma once

#include <cstdint>
#include <string>

#include "batch/ConversionRun.h"
#include "documents/DocumentTotals.h"
#include "files/JobFiles.h"

namespace varnex {

// Converts the document from the fonts that detection finds its fonts' text in: each
// document font whose text is surely in a map font converts from that font, renamed to the
// target; Unicode text and text that cannot be told stay as they are (a document where no font
// could be told and some text could not fails, naming those fonts). A document with nothing to
// convert is copied as it is. `firstFont` gets the first font found. Throws Failure, or
// ConversionCancelled.
std::uint64_t ConvertDetectedDocumentInput(const ConversionRun& run, const std::string& input,
                                           NewFile& output, DocumentTotals& totals, std::string& firstFont);

}  // namespace varnex
