#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "batch/BatchRequest.h"
#include "batch/InputList.h"

namespace varnex {

struct OutputPlan {
    OutputKind kind = OutputKind::StandardOutput;
    std::vector<Input> inputs;
    std::vector<std::filesystem::path>
        outputs;                      // one for OneFile/Device; one per input for BesideEach/InPlace
    std::vector<std::string> faults;  // per input: why it is not converted, "" when it is
    std::size_t skipped = 0;          // inputs found in folders that are outputs of others
};

// The new file's path that BesideEach (and the window) propose for an input.
std::filesystem::path ProposedPath(const Input& input, const std::string& targetFont);

// Decides the outputs and checks them before anything is written: an output is never one of
// the inputs (by device and inode, whatever the spelling or link), unless in place; two
// inputs never share an output; and an existing output is replaced only with `force`.
// Inputs found in folders that are outputs of others (an earlier run's outputs beside them,
// backups of files converted in place) are left out, and the same file found twice is taken
// once. `targetFont` is the map's own name of the target font. Throws RequestFault for a
// fault of the request, Failure for one of the whole plan; a fault of one input goes to
// plan.faults.
OutputPlan PlanOutputs(const BatchRequest& request, const std::string& targetFont, std::vector<Input> inputs);

}  // namespace varnex
