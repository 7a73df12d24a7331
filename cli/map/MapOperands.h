#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "OptionParser.h"

namespace varnex::map {

using cli::UsageError;

// The maps a subcommand is given: its operands, or defaultMap when there are none. Fewer
// than minMaps or more than maxMaps names is a usage error.
std::vector<std::filesystem::path> MapPaths(const std::vector<std::string>& operands, std::size_t minMaps,
                                            std::size_t maxMaps, const std::filesystem::path& defaultMap);

}  // namespace varnex::map
