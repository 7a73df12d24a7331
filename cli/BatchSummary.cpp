#include "BatchSummary.h"

#include <cstdio>

#include "ProgressBar.h"

namespace varnex::cli {

namespace {

std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string SummaryLine(const BatchTotals& counts, double seconds, bool report) {
    const bool characters = counts.droppedCharacters;
    std::string line = Counted(counts.converted, "file", "files") + " converted, " +
                       std::to_string(counts.failed) + " failed, " + std::to_string(counts.skipped) +
                       " skipped";
    if (counts.linksSkipped)
        line += "; " + Counted(counts.linksSkipped, "symbolic link", "symbolic links") + " not followed";
    char time[32];
    std::snprintf(time, sizeof time, "%.2f s", seconds);
    line += "; " + ByteCount(counts.bytes) + " in " + time;
    if (!counts.fonts.empty()) {
        line += "; found in";
        const char* separator = " ";
        for (const auto& [font, files] : counts.fonts) {
            line += separator + font + " " + std::to_string(files);
            separator = ", ";
        }
    }
    if (report) {
        line +=
            "; " +
            Counted(counts.dropped, characters ? "character" : "code", characters ? "characters" : "codes") +
            " without an entry dropped";
    }
    return line;
}

}  // namespace varnex::cli
