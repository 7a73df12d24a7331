#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace varnex::cli {

// `varnex detect [--format=text|tsv] [--map PATH] [FILE...]`: which font each FILE (standard
// input when there is none) is in. args are the words after "detect". Returns the exit code.
int RunDetectCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                     std::ostream& out, std::ostream& err);

}  // namespace varnex::cli
