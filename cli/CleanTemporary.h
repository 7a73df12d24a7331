#pragma once

#include <iosfwd>
#include <string>

#include "Messages.h"

namespace varnex::cli {

// `varnex --clean-temporary DIR [-r] [--force]`: lists the named temporary files that runs
// killed on a filesystem without unnamed ones left in DIR (below it with -r), one a line
// with its age and size; --force removes them, but never one that a running program still
// writes. Returns the exit code.
int CleanTemporary(const std::string& folder, bool below, bool remove, std::ostream& out, Messages& messages);

// "45 s", "12 min", "3 h", "2 days".
std::string Age(double seconds);

}  // namespace varnex::cli
