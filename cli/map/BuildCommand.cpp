#include <ostream>

#include "CheckReportFormat.h"
#include "MapArguments.h"
#include "MapSubcommands.h"
#include "map/CharacterNames.h"
#include "map/MapCheck.h"
#include "map/MapFile.h"
#include "map/MapWriting.h"

namespace varnex::map {

int RunBuild(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
             std::ostream& out, std::ostream& err) {
    const MapArguments arguments(words, {"-o", "--output"}, "", {"--allow-errors", "--unicode"});
    const auto output = arguments.Option("-o") ? arguments.Option("-o") : arguments.Option("--output");
    if (!output) throw UsageError("name the map to write with -o FILE");
    MapFile map = ReadMapFile(arguments.Maps(1, 1, defaultMap).front());
    if (arguments.Flag("--unicode")) AddUnicodeFont(map);
    const CheckReport report = CheckFontTable(map.table, std::nullopt, RowCharacters(map.rowNotes));
    const bool allowErrors = arguments.Flag("--allow-errors");
    if (report.errors) WriteCheckErrors(map, report, err);
    if (report.errors && !allowErrors) {
        err << "varnex: " << map.path.string() << ": " << report.errors
            << (report.errors == 1 ? " error" : " errors") << ", so " << *output << " was not written\n";
        return 1;
    }
    WriteMapDatabase(map, *output);
    out << "varnex: " << *output << ": " << map.table.columns.size() << " fonts, " << map.table.rows.size()
        << " rows\n";
    return 0;
}

}  // namespace varnex::map
