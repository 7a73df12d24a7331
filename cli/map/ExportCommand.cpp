#include <ostream>
#include <sstream>

#include "CharacterNames.h"
#include "Failure.h"
#include "FileReplacement.h"
#include "FontTableTsvWriter.h"
#include "MapArguments.h"
#include "MapFile.h"
#include "MapSubcommands.h"

namespace varnex::map {

int RunExport(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
              std::ostream& out, std::ostream&) {
    const MapArguments arguments(words, {"-o", "--output"});
    const MapFile map = ReadMapFile(arguments.Maps(0, 1, defaultMap).front());
    std::ostringstream text;
    try {
        WriteFontTableTsv(map.table, CharacterNames(map.table), text);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), map.path.string() + ": " + failure.Description());
    }
    const auto output = arguments.Option("-o") ? arguments.Option("-o") : arguments.Option("--output");
    if (!output) {
        out << text.str() << std::flush;
        if (!out) throw Failure(kDeviceError, "the table could not be written to the standard output");
        return 0;
    }
    RefuseToOverwriteInput(map.path, *output);
    ReplaceFile(*output,
                [&](const std::filesystem::path& temporary) { WriteTextFile(temporary, text.str()); });
    return 0;
}

}  // namespace varnex::map
