#pragma once

#include <chrono>

#include "ConversionRun.h"
#include "InputList.h"
#include "Messages.h"
#include "OutputPlan.h"

namespace varnex::cli {

// Converts the inputs of a plan, several at once on threads over the one loaded map: each
// into a file of its own (--beside, -i), its outputs synced and placed in groups; or all into
// one output in their order. A file that fails is told of, and the others still convert.
// After a batch of more than one file, a summary line. Returns the exit code: 1 when any
// input failed (`list.failed` counts those the listing could not read), else 0. The summary's
// time counts from `started`, before the folders were listed.
int RunBatch(const ConversionRun& run, const OutputPlan& plan, const InputList& list, Messages& messages,
             std::chrono::steady_clock::time_point started);

}  // namespace varnex::cli
