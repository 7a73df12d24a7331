#pragma once

#include <stdexcept>
#include <string>

namespace varnex {

// The caller asked a conversion to stop, between two of its pieces.
class ConversionCancelled : public std::runtime_error {
public:
    explicit ConversionCancelled(const std::string& what = "The conversion was cancelled.")
        : std::runtime_error(what) {}
};

}  // namespace varnex
