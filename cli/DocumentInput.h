#pragma once

#include <cstdint>
#include <string>

#include "ConvertOptions.h"
#include "ProgressBar.h"
#include "convert/FontMap.h"
#include "documents/DocumentTotals.h"
#include "documents/SourceFontNames.h"
#include "files/JobFiles.h"

namespace varnex::cli {

// True when the input is a word document or OpenDocument text (by its content); standard input
// is one only when it is a file, not a pipe. Throws Failure for a damaged or encrypted package.
bool IsDocumentInput(const std::string& input);

// The same, where a package that cannot be read counts as a document: for naming and checking
// outputs before the conversion, which reports the fault.
bool LooksLikeDocumentInput(const std::string& input);

// Converts the document into `output` (the file of a new, not yet placed output); `progress`,
// if any, is told the bytes of the package done. Returns the input's size.
std::uint64_t ConvertDocumentInput(const ConvertOptions& options, const FontMap& map,
                                   const DocumentFonts& fonts, const std::string& input, NewFile& output,
                                   DocumentTotals& totals, ProgressBar* progress);

// What --report says of a converted document: how many characters converted, and which had
// no code or no entry (without the "varnex: " of a line).
std::string DocumentReport(const std::string& input, const DocumentTotals& totals);

}  // namespace varnex::cli
