#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace varnex::cli {

// `varnex [OPTIONS] [FILE...]`: args are the words after the program's name. Returns the
// process's exit code.
int RunConvertCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                      std::ostream& out, std::ostream& err);

}  // namespace varnex::cli
