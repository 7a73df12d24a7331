#include <ostream>

#include "CheckReportFormat.h"
#include "MapArguments.h"
#include "MapSubcommands.h"
#include "map/CharacterNames.h"
#include "map/MapCheck.h"
#include "map/MapFile.h"

namespace varnex::map {

namespace {

std::size_t ChosenColumn(const MapFile& map, const std::string& font) {
    const auto column = ColumnForFont(map.table, font);
    if (!column) throw UsageError("the font \"" + font + "\" is not in " + map.path.string());
    return *column;
}

}  // namespace

int RunCheck(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
             std::ostream& out, std::ostream&) {
    const MapArguments arguments(words, {"--format"}, "--pair");
    const std::string format = arguments.Option("--format").value_or("text");
    if (format != "text" && format != "tsv")
        throw UsageError("--format must be text or tsv, not \"" + format + "\"");
    const MapFile map = ReadMapFile(arguments.Maps(0, 1, defaultMap).front());
    std::optional<PairChoice> pair;
    if (const auto fonts = arguments.Pair()) {
        pair = PairChoice{ChosenColumn(map, fonts->first), ChosenColumn(map, fonts->second)};
        if (pair->source == pair->target) throw UsageError("--pair needs two different fonts");
    }
    const CheckReport report = CheckFontTable(map.table, pair, RowCharacters(map.rowNotes));
    if (format == "tsv") {
        WriteCheckTsv(map, report, out);
    } else {
        WriteCheckText(map, report, out);
    }
    return report.errors ? 1 : 0;
}

}  // namespace varnex::map
