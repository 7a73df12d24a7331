#include <ostream>

#include "MapOperands.h"
#include "MapSubcommands.h"
#include "map/FontNameMatch.h"
#include "maptools/CellReading.h"
#include "maptools/MapDiff.h"
#include "maptools/MapFile.h"
#include "text/CodePointName.h"

namespace varnex::map {

namespace {

// An entry as the map's own cells write it: "100,201"; "no entry" for none.
std::string EntryText(const std::string& entry) {
    if (entry.empty()) return "no entry";
    std::string text;
    for (char c : entry) text += (text.empty() ? "" : ",") + std::to_string(static_cast<unsigned char>(c));
    return text;
}

void WritePair(const PairDifference& pair, const std::string& before, const std::string& after,
               std::ostream& out) {
    const std::string name = "\"" + OneLine(pair.source) + "\" -> \"" + OneLine(pair.target) + "\"";
    if (!pair.failureBefore.empty() || !pair.failureAfter.empty()) {
        const bool failsBefore = !pair.failureBefore.empty();
        out << name << ": the load fails in " << (failsBefore ? before : after)
            << " only: " << OneLine(failsBefore ? pair.failureBefore : pair.failureAfter) << "\n";
        return;
    }
    const bool characters = IsUnicodeFont(pair.source);
    for (const auto& code : pair.codes) {
        out << name
            << (characters ? ", " + CodePointName(static_cast<char32_t>(code.code))
                           : ", code " + std::to_string(code.code))
            << ": " << EntryText(code.before) << " in " << before << ", " << EntryText(code.after) << " in "
            << after << "\n";
    }
}

}  // namespace

int RunDiff(const std::vector<std::string>& words, const std::filesystem::path& defaultMap, std::ostream& out,
            std::ostream&) {
    cli::OptionParser parser(words, {});
    std::vector<std::string> operands;
    while (const auto word = parser.Next()) operands.push_back(*word->value);
    const auto paths = MapPaths(operands, 2, 2, defaultMap);
    const MapFile before = ReadMapFile(paths[0]);
    const MapFile after = ReadMapFile(paths[1]);
    const MapDifferences differences = DiffFontTables(before.table, after.table);
    for (const auto& font : differences.onlyBefore) {
        out << "font \"" << OneLine(font) << "\": only in " << before.path.string() << "\n";
    }
    for (const auto& font : differences.onlyAfter) {
        out << "font \"" << OneLine(font) << "\": only in " << after.path.string() << "\n";
    }
    for (const auto& pair : differences.pairs)
        WritePair(pair, before.path.string(), after.path.string(), out);
    return differences.Empty() ? 0 : 1;
}

}  // namespace varnex::map
