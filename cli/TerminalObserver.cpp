#include "TerminalObserver.h"

#include <cstdio>

#include "BatchSummary.h"

namespace varnex::cli {

void TerminalObserver::Planned(std::size_t files, std::uint64_t bytes, const std::string& only) {
    if (messages_.Terminal()) progress_ = std::make_unique<ProgressBar>(messages_, only, bytes, files);
}

void TerminalObserver::Detected(const std::string& input, const FoundFont& found) {
    if (found.noMapFont) {
        messages_.Line(input + ": no text in a font of the map to convert; copied unchanged");
    } else if (found.unchanged) {
        messages_.Line(input +
                       (found.font.empty() ? ": text of any font" : ": in " + found.font + " already") +
                       "; copied unchanged");
    } else if (!found.readAs.empty()) {
        messages_.Line(input + ": " + found.font + " read as " + found.readAs + " and saved as " +
                       found.stored + "; undone");
    } else if (report_) {
        char confidence[16];
        std::snprintf(confidence, sizeof confidence, "%.2f", found.confidence);
        messages_.Line(input + ": " + found.font + " (" + confidence + ", " + found.language + ")");
    }
}

void TerminalObserver::Finished(const BatchTotals& totals) {
    progress_.reset();
    // a folder is a batch, however many files it held: an empty one says so
    if (totals.met <= 1 && totals.linksSkipped == 0 && !folders_) return;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    messages_.Line(SummaryLine(totals, seconds, report_));
}

}  // namespace varnex::cli
