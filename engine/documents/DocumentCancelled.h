#pragma once

#include <stdexcept>

namespace varnex {

// The user cancelled a document conversion: no new file is made.
class DocumentCancelled : public std::runtime_error {
public:
    DocumentCancelled() : std::runtime_error("The document conversion was cancelled.") {}
};

}  // namespace varnex
