#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace varnex::cli {

// What a run came to, counted from every thread.
struct BatchCounts {
    std::atomic<std::size_t> converted{0};
    std::atomic<std::size_t> failed{0};
    std::atomic<std::size_t> skipped{0};
    std::atomic<std::uint64_t> bytes{0};    // read from the inputs converted
    std::atomic<std::uint64_t> dropped{0};  // codes or characters without an entry
    std::size_t linksSkipped = 0;
};

// "12 files converted, 1 failed, 2 skipped; 3 symbolic links not followed; 1.2 MiB in
// 0.35 s", and with --report "; 40 codes without an entry dropped" (characters, when the
// text is read as UTF-8).
std::string SummaryLine(const BatchCounts& counts, double seconds, bool report, bool characters);

}  // namespace varnex::cli
