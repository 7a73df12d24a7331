#include <ostream>

#include "Failure.h"
#include "MapArguments.h"
#include "MapSubcommands.h"
#include "map/MapFile.h"
#include "map/MapWriting.h"

namespace varnex::map {

int RunExport(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
              std::ostream& out, std::ostream&) {
    const MapArguments arguments(words, {"-o", "--output"});
    const MapFile map = ReadMapFile(arguments.Maps(0, 1, defaultMap).front());
    const std::string text = MapText(map);
    const auto output = arguments.Option("-o") ? arguments.Option("-o") : arguments.Option("--output");
    if (!output) {
        out << text << std::flush;
        if (!out) throw Failure(kDeviceError, "the table could not be written to the standard output");
        return 0;
    }
    WriteMapText(map, text, *output);
    return 0;
}

}  // namespace varnex::map
