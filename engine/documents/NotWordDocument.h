#pragma once

#include "Failure.h"

namespace varnex {

// A file that is another kind of office document (a spreadsheet, a presentation, a binary or
// encrypted Office file), which the converter does not take as a word document.
class NotWordDocument : public Failure {
public:
    explicit NotWordDocument(const std::string& description) : Failure(kBadFileFormat, description) {}
};

}  // namespace varnex
