#pragma once

#include <iosfwd>
#include <string>

#include "ConvertOptions.h"
#include "convert/FontMap.h"
#include "documents/SourceFontNames.h"
#include "files/JobFiles.h"

namespace varnex::cli {

// True when the input is a word document or OpenDocument text (by its content); standard input
// is one only when it is a file, not a pipe. Throws Failure for a damaged or encrypted package.
bool IsDocumentInput(const std::string& input);

// The same, where a package that cannot be read counts as a document: for naming and checking
// outputs before the conversion, which reports the fault.
bool LooksLikeDocumentInput(const std::string& input);

// Converts the document into `output` (the file of a new, not yet placed output) and, with
// --report, says on `err` how many characters converted and which had no code.
void ConvertDocumentInput(const ConvertOptions& options, const FontMap& map, const DocumentFonts& fonts,
                          const std::string& input, NewFile& output, std::ostream& err);

}  // namespace varnex::cli
