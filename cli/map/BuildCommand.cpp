#include <optional>
#include <ostream>

#include "CheckReportFormat.h"
#include "MapOperands.h"
#include "MapSubcommands.h"
#include "maptools/CharacterNames.h"
#include "maptools/MapCheck.h"
#include "maptools/MapFile.h"
#include "maptools/MapWriting.h"

namespace varnex::map {

namespace {

enum BuildOption { kOutput, kAllowErrors, kUnicode };

struct BuildWords {
    std::vector<std::string> operands;
    std::optional<std::string> output;
    bool allowErrors = false;
    bool unicode = false;
};

BuildWords ParseBuildWords(const std::vector<std::string>& words) {
    cli::OptionParser parser(words, {{kOutput, "output", 'o', cli::Takes::Value},
                                     {kAllowErrors, "allow-errors", 0, cli::Takes::Nothing},
                                     {kUnicode, "unicode", 0, cli::Takes::Nothing}});
    BuildWords parsed;
    while (const auto word = parser.Next()) {
        if (word->id == cli::OptionParser::kOperand) parsed.operands.push_back(*word->value);
        if (word->id == kOutput) parsed.output = word->value;
        if (word->id == kAllowErrors) parsed.allowErrors = true;
        if (word->id == kUnicode) parsed.unicode = true;
    }
    return parsed;
}

}  // namespace

int RunBuild(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
             std::ostream& out, std::ostream& err) {
    const BuildWords arguments = ParseBuildWords(words);
    const auto& output = arguments.output;
    if (!output) throw UsageError("name the map to write with -o FILE");
    MapFile map = ReadMapFile(MapPaths(arguments.operands, 1, 1, defaultMap).front());
    if (arguments.unicode) AddUnicodeFont(map);
    const CheckReport report = CheckFontTable(map.table, std::nullopt, RowCharacters(map.rowNotes));
    const bool allowErrors = arguments.allowErrors;
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
