#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace varnex {

// A named temporary file that a killed run left behind (TemporaryNames.h gives the form).
struct Leftover {
    std::string path;
    std::uint64_t size = 0;
    double ageSeconds = 0;  // since its last change
    bool inUse = false;     // a running program is still writing it
};

// The leftovers in `folder`, and with `below` in the folders below it too (symbolic links to
// folders are not followed), in the order of their names. Folders that cannot be read are
// passed over.
std::vector<Leftover> FindLeftovers(const std::string& folder, bool below);

// Removes one leftover unless it is in use by then. Throws Failure naming it.
void RemoveLeftover(const Leftover& leftover);

}  // namespace varnex
