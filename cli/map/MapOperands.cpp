#include "MapOperands.h"

namespace varnex::map {

std::vector<std::filesystem::path> MapPaths(const std::vector<std::string>& operands, std::size_t minMaps,
                                            std::size_t maxMaps, const std::filesystem::path& defaultMap) {
    if (operands.size() > maxMaps) throw UsageError("too many file names (\"" + operands[maxMaps] + "\")");
    if (operands.size() < minMaps) throw UsageError("missing file name");
    if (operands.empty()) return {defaultMap};
    return {operands.begin(), operands.end()};
}

}  // namespace varnex::map
