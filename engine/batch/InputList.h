#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "batch/BatchObserver.h"
#include "batch/BatchRequest.h"

namespace varnex {

struct Input {
    std::string name;       // as given, or as found below a folder; "-" is standard input
    bool document = false;  // a word document or OpenDocument text (by its content)
    bool found = false;     // found below a folder, not named by the caller
};

// How an input is named in messages: "standard input" for "-", else its name.
std::string ShownName(const std::string& input);
std::string ShownName(const Input& input);

// The inputs of a batch, and what the walk of its folders left out.
struct InputList {
    std::vector<Input> inputs;
    std::size_t skipped = 0;       // files that are neither text nor a word document, and the like
    std::size_t linksSkipped = 0;  // symbolic links not followed
    std::size_t failed = 0;        // folders and files that could not be read (already told)
    // What was told of each of them: its name and why.
    std::vector<std::pair<std::string, std::string>> refused;
};

// The request's inputs in their order, each folder among them (when recursive) replaced by
// the files below it in the order of their names. Without an include filter, a folder gives
// the files that the converter recognises: text, and word documents; other office documents
// are told to the observer as skipped, other files quietly left out. Temporary files of this
// program are never taken. In place, symbolic links are not followed, to files either. A named
// file that is no text nor document is told as failed, and left out, unless the request
// takes it as text.
InputList ListInputs(const BatchRequest& request, BatchObserver& observer);

}  // namespace varnex
