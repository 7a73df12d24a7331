#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace varnex {

// What a batch came to.
struct BatchTotals {
    std::size_t met = 0;             // inputs named and found: converted, failed or skipped
    std::size_t converted = 0;       // inputs whose conversion is in place
    std::size_t failed = 0;          // inputs, folders and outputs that failed (each told)
    std::size_t skipped = 0;         // files left out: neither text nor a document, outputs of others
    std::size_t linksSkipped = 0;    // symbolic links not followed
    std::uint64_t bytes = 0;         // read from the inputs converted
    std::uint64_t dropped = 0;       // codes without an entry, or characters where...
    bool droppedCharacters = false;  // ...the source is read as UTF-8
    bool cancelled = false;          // the observer asked to stop before every input was converted
    std::map<std::string, std::size_t> fonts;  // when the batch detects: the inputs converted per font
};

}  // namespace varnex
