#pragma once

#include <string>

#include "batch/BatchTotals.h"

namespace varnex::cli {

// "12 files converted, 1 failed, 2 skipped; 3 symbolic links not followed; 1.2 MiB in
// 0.35 s", and with --report "; 40 codes without an entry dropped" (characters, when the
// text is read as UTF-8).
std::string SummaryLine(const BatchTotals& totals, double seconds, bool report);

}  // namespace varnex::cli
