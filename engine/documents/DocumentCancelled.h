#pragma once

#include "Cancelled.h"

namespace varnex {

// The user cancelled a document conversion: no new file is made.
class DocumentCancelled : public ConversionCancelled {
public:
    DocumentCancelled() : ConversionCancelled("The document conversion was cancelled.") {}
};

}  // namespace varnex
