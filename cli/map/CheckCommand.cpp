#include <optional>
#include <ostream>

#include "CheckReportFormat.h"
#include "MapOperands.h"
#include "MapSubcommands.h"
#include "maptools/CharacterNames.h"
#include "maptools/MapCheck.h"
#include "maptools/MapFile.h"

namespace varnex::map {

namespace {

std::size_t ChosenColumn(const MapFile& map, const std::string& font) {
    const auto column = ColumnForFont(map.table, font);
    if (!column) throw UsageError("the font \"" + font + "\" is not in " + map.path.string());
    return *column;
}

enum CheckOption { kFormat, kPair };

struct CheckWords {
    std::vector<std::string> operands;
    std::string format = "text";
    std::optional<std::pair<std::string, std::string>> pair;
};

CheckWords ParseCheckWords(const std::vector<std::string>& words) {
    cli::OptionParser parser(
        words, {{kFormat, "format", 0, cli::Takes::Value}, {kPair, "pair", 0, cli::Takes::Value}});
    CheckWords parsed;
    while (const auto word = parser.Next()) {
        if (word->id == cli::OptionParser::kOperand) parsed.operands.push_back(*word->value);
        if (word->id == kFormat) parsed.format = *word->value;
        if (word->id == kPair) {
            try {
                parsed.pair = std::make_pair(*word->value, parser.TakeWord("--pair"));
            } catch (const UsageError&) {
                throw UsageError("--pair needs two font names");
            }
        }
    }
    return parsed;
}

}  // namespace

int RunCheck(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
             std::ostream& out, std::ostream&) {
    const CheckWords arguments = ParseCheckWords(words);
    const std::string& format = arguments.format;
    if (format != "text" && format != "tsv")
        throw UsageError("--format must be text or tsv, not \"" + format + "\"");
    const MapFile map = ReadMapFile(MapPaths(arguments.operands, 0, 1, defaultMap).front());
    std::optional<PairChoice> pair;
    if (const auto& fonts = arguments.pair) {
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
