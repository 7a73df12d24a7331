#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ConvertOptions.h"
#include "Messages.h"

namespace varnex::cli {

struct Input {
    std::string name;       // as given, or as found below a FOLDER; "-" is standard input
    bool document = false;  // a word document or OpenDocument text (by its content)
    bool found = false;     // found by -r below a FOLDER, not named on the command line
};

// "standard input" for "-", else the name.
std::string ShownName(const Input& input);

// The inputs of a run, and what the walk of its folders left out.
struct InputList {
    std::vector<Input> inputs;
    std::size_t skipped = 0;       // files that are neither text nor a word document, and the like
    std::size_t linksSkipped = 0;  // symbolic links not followed
    std::size_t failed = 0;        // folders and files that could not be read (already told)
};

// The FILE arguments in their order, each FOLDER among them (with -r) replaced by the files
// below it in the order of their names. Without --include, a folder gives the files that
// the converter recognises: text, and word documents; other office documents are skipped
// with a line saying what they are, other files quietly. Temporary files of this program are
// never taken. With -i, symbolic links are not followed, to files either.
InputList ListInputs(const ConvertOptions& options, Messages& messages);

}  // namespace varnex::cli
