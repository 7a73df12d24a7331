#include <optional>
#include <ostream>

#include "Failure.h"
#include "MapOperands.h"
#include "MapSubcommands.h"
#include "maptools/MapFile.h"
#include "maptools/MapWriting.h"

namespace varnex::map {

int RunExport(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
              std::ostream& out, std::ostream&) {
    cli::OptionParser parser(words, {{0, "output", 'o', cli::Takes::Value}});
    std::vector<std::string> operands;
    std::optional<std::string> output;
    while (const auto word = parser.Next()) {
        if (word->id == cli::OptionParser::kOperand) operands.push_back(*word->value);
        if (word->id == 0) output = word->value;
    }
    const MapFile map = ReadMapFile(MapPaths(operands, 0, 1, defaultMap).front());
    const std::string text = MapText(map);
    if (!output) {
        out << text << std::flush;
        if (!out) throw Failure(kDeviceError, "the table could not be written to the standard output");
        return 0;
    }
    WriteMapText(map, text, *output);
    return 0;
}

}  // namespace varnex::map
