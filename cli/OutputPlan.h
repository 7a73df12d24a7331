#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ConvertOptions.h"
#include "InputList.h"

namespace varnex::cli {

// Where the converted text of a run goes.
enum class OutputKind {
    StandardOutput,
    OneFile,     // -o: every input into one file, put in place when complete
    Device,      // -o naming a device or a pipe: written straight to it
    BesideEach,  // --beside: one new file per input
    InPlace,     // -i: each input replaced by its conversion
};

struct OutputPlan {
    OutputKind kind = OutputKind::StandardOutput;
    std::vector<Input> inputs;
    std::vector<std::filesystem::path>
        outputs;                      // one for OneFile/Device; one per input for BesideEach/InPlace
    std::vector<std::string> faults;  // per input: why it is not converted, "" when it is
    std::size_t skipped = 0;          // inputs found by -r that are outputs of others
};

// The new file's path that --beside (and the window) propose for an input.
std::filesystem::path ProposedPath(const Input& input, const std::string& targetFont);

// A plan that cannot be carried out; `usage` marks a fault of the command line itself.
struct PlanFault {
    std::string message;
    bool usage = false;
};

// Decides the outputs and checks them before anything is written: an output is never one of
// the inputs (by device and inode, whatever the spelling or link), unless -i asks for it; two
// inputs never share an output; and an existing output is replaced only with --force.
// Inputs found by -r that are outputs of others (an earlier run's --beside outputs, -i's
// backups) are left out, and the same file found twice is taken once. `targetFont` is the
// map's own name of the target font. Returns a fault of the whole plan; a fault of one input
// goes to plan.faults.
std::optional<PlanFault> PlanOutputs(const ConvertOptions& options, const std::string& targetFont,
                                     std::vector<Input> inputs, OutputPlan& plan);

}  // namespace varnex::cli
