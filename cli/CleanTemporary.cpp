#include "CleanTemporary.h"

#include <cstdio>
#include <ostream>

#include "ProgressBar.h"
#include "files/TemporaryLeftovers.h"

namespace varnex::cli {

namespace {

std::string Counted(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " temporary file" : " temporary files");
}

}  // namespace

std::string Age(double seconds) {
    const auto whole = static_cast<long long>(seconds < 0 ? 0 : seconds);
    if (whole < 120) return std::to_string(whole) + " s";
    if (whole < 2 * 3600) return std::to_string(whole / 60) + " min";
    if (whole < 2 * 86400) return std::to_string(whole / 3600) + " h";
    return std::to_string(whole / 86400) + " days";
}

int CleanTemporary(const std::string& folder, bool below, bool remove, std::ostream& out,
                   Messages& messages) {
    std::vector<Leftover> leftovers;
    try {
        leftovers = FindLeftovers(folder, below);
    } catch (const std::exception& failure) {
        messages.Line(failure.what());
        return 1;
    }
    std::uint64_t bytes = 0;
    std::size_t removed = 0;
    int result = 0;
    for (const auto& leftover : leftovers) {
        char line[64];
        std::snprintf(line, sizeof line, "%-8s %10s  ", Age(leftover.ageSeconds).c_str(),
                      ByteCount(leftover.size).c_str());
        out << line << Printable(leftover.path) << (leftover.inUse ? "  (in use)" : "") << '\n';
        bytes += leftover.size;
        if (!remove) continue;
        try {
            RemoveLeftover(leftover);
            ++removed;
        } catch (const std::exception& failure) {
            messages.Line(failure.what());
            result = leftover.inUse ? result : 1;
        }
    }
    out.flush();
    if (leftovers.empty()) {
        messages.Line("no temporary files in " + folder);
    } else if (remove) {
        const std::string share = removed == leftovers.size() ? "" : std::to_string(removed) + " of ";
        messages.Line(share + Counted(leftovers.size()) + " removed");
    } else {
        messages.Line(Counted(leftovers.size()) + " (" + ByteCount(bytes) + "); --force removes them");
    }
    return out ? result : 1;
}

}  // namespace varnex::cli
