#pragma once

#include <optional>
#include <string>

#include "documents/DocumentTotals.h"
#include "jobs/StreamConversion.h"

namespace varnex {

// What the conversion of one input left out, for a report: a text's codes (or characters, for
// a text read as UTF-8), or a document's characters without a code and codes without an entry.
struct FileReport {
    std::string input;  // the shown name
    bool characters = false;
    std::optional<StreamTotals> text;
    std::optional<DocumentTotals> document;

    // The report as one line, without the program's name: "a.txt: 3 codes without an entry
    // dropped: 0 (1x), 152 (2x)".
    std::string Line() const;
};

}  // namespace varnex
