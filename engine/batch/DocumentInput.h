#pragma once

#include <cstdint>
#include <string>

#include "batch/ConversionRun.h"
#include "documents/DocumentTotals.h"
#include "documents/InputRecognition.h"
#include "files/JobFiles.h"

namespace varnex {

// True when the input is a word document or OpenDocument text (by its content); standard input
// is one only when it is a file, not a pipe. Throws Failure for a damaged or encrypted package.
bool IsDocumentInput(const std::string& input);

// The same, where a package that cannot be read counts as a document: for naming and checking
// outputs before the conversion, which reports the fault.
bool LooksLikeDocumentInput(const std::string& input);

// What a named input is, before anything is written: text (so is every input that is no regular
// file), a document (so is a package that cannot be read, for its conversion to tell), a binary
// file or another office document, with what it looks like.
RecognisedInput RecogniseNamedInput(const std::string& input);

// The path a document input is read from: the file itself, or standard input's where it is a
// file; "" for an input that is no regular file (a pipe), which is read as text.
std::string DocumentPathOf(const std::string& input);

// Converts the document into `output` (the file of a new, not yet placed output); the run's
// observer is told the bytes of the package done, and asked whether to stop. Returns the
// input's size. Throws Failure, or ConversionCancelled.
std::uint64_t ConvertDocumentInput(const ConversionRun& run, const std::string& input, NewFile& output,
                                   DocumentTotals& totals);

}  // namespace varnex
