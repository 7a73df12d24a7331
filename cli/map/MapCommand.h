#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace varnex::cli {

// `varnex map ...`: args are the words after "map". defaultMap is the font map beside the
// executable. Returns the process's exit code.
int RunMapCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                  std::ostream& out, std::ostream& err);

}  // namespace varnex::cli
