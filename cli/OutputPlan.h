#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ConvertOptions.h"

namespace varnex::cli {

// Where the converted text of a run goes.
enum class OutputKind {
    StandardOutput,
    OneFile,     // -o: every input into one file, put in place when complete
    Device,      // -o naming a device or a pipe: written straight to it
    BesideEach,  // --beside: one new file per input
};

struct OutputPlan {
    OutputKind kind = OutputKind::StandardOutput;
    std::vector<std::string> inputs;             // "-" for standard input
    std::vector<std::filesystem::path> outputs;  // one for OneFile/Device, one per input for BesideEach
};

// The new file's path that --beside (and the window) propose for an input.
std::filesystem::path ProposedPath(const std::string& input, const std::string& targetFont);

// A plan that cannot be carried out; `usage` marks a fault of the command line itself.
struct PlanFault {
    std::string message;
    bool usage = false;
};

// Decides the outputs and checks them before anything is written: an output is never one of
// the inputs (by device and inode, whatever the spelling or link), two inputs never share an
// output, and an existing output is replaced only with --force. `targetFont` is the map's own
// name of the target font. Returns the fault, if any.
std::optional<PlanFault> PlanOutputs(const ConvertOptions& options, const std::string& targetFont,
                                     OutputPlan& plan);

}  // namespace varnex::cli
