#pragma once

#include <algorithm>
#include <string>

#include "files/JobFiles.h"

namespace varnex::test {

// Writes `text` into a new file through its buffer, as the conversion does.
inline void Put(NewFile& file, const std::string& text) {
    std::copy(text.begin(), text.end(), file.Reserve(text.size()));
    file.Commit(text.size());
}

}  // namespace varnex::test
