#include "batch/OutputPlan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "batch/InputPlaces.h"
#include "batch/RequestFault.h"
#include "jobs/AskNewFileName.h"

namespace varnex {

namespace {

using OutputOf = std::function<std::optional<std::filesystem::path>(const Input&)>;

std::optional<std::string> OutputFault(const std::filesystem::path& output, const InputIdentities& inputs,
                                       bool force) {
    struct stat info {};
    if (::stat(output.c_str(), &info) != 0) return std::nullopt;
    if (const auto input = inputs.InputAt({info.st_dev, info.st_ino})) {
        return output.string() + ": is the input file " + *input + "; an output is never its own source";
    }
    if (S_ISDIR(info.st_mode)) return output.string() + ": is a folder";
    if (!force) return output.string() + ": exists already (--force replaces it)";
    return std::nullopt;
}

// Leaves out the inputs found by -r that another input's output would be (outputOf), and
// the file found a second time (by overlapping folders).
void LeaveOutFoundOutputs(OutputPlan& plan, Places& places, const OutputOf& outputOf) {
    std::set<Place> outputs, seen;
    if (outputOf) {
        for (const auto& input : plan.inputs) {
            const auto output = outputOf(input);
            if (const auto place = output ? places.Of(*output) : std::nullopt) outputs.insert(*place);
        }
    }
    std::vector<Input> kept;
    for (auto& input : plan.inputs) {
        const auto place = places.Of(input.name);
        const bool taken = place && (outputs.contains(*place) || !seen.insert(*place).second);
        if (input.found && taken) {
            ++plan.skipped;
        } else {
            kept.push_back(std::move(input));
        }
    }
    plan.inputs = std::move(kept);
}

void PlanBeside(const BatchRequest& request, const std::string& targetFont, OutputPlan& plan,
                Places& places) {
    const InputIdentities identities(plan.inputs);
    std::map<Place, std::size_t> owners;
    for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
        const std::filesystem::path output = ProposedPath(plan.inputs[i], targetFont);
        plan.outputs.push_back(output);
        const auto place = places.Of(output);
        const auto [owner, fresh] = place ? owners.emplace(*place, i) : std::pair{owners.end(), true};
        if (!fresh) {
            const Input& first = plan.inputs[owner->second];
            if (!first.found && !plan.inputs[i].found)
                throw RequestFault(output.string() + ": named as the output of two inputs");
            plan.faults[i] = output.string() + ": named as the output of " + first.name + " too";
        } else if (const auto fault = OutputFault(output, identities, request.force)) {
            plan.faults[i] = *fault;
        }
    }
}

std::optional<std::string> InPlaceFault(const std::string& name) {
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0) return std::nullopt;  // the conversion says why
    if (S_ISLNK(info.st_mode)) return name + ": is a symbolic link; name the file it points to";
    if (S_ISDIR(info.st_mode)) return name + ": is a folder (-r converts the files below it)";
    if (!S_ISREG(info.st_mode)) return name + ": is not a regular file";
    return std::nullopt;
}

void PlanInPlace(const BatchRequest& request, OutputPlan& plan, Places& places) {
    std::set<Place> inputs;
    for (const auto& input : plan.inputs) {
        const auto place = places.Of(input.name);
        if (place && !inputs.insert(*place).second) throw RequestFault(input.name + ": named twice");
    }
    const std::string& suffix = request.backupSuffix;
    for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
        const std::string& name = plan.inputs[i].name;
        plan.outputs.push_back(name);
        if (const auto fault = InPlaceFault(name)) {
            plan.faults[i] = *fault;
            continue;
        }
        if (suffix.empty()) continue;
        const std::string backup = name + suffix;
        const auto place = places.Of(backup);
        struct stat info {};
        if (place && inputs.contains(*place)) {
            plan.faults[i] = backup + ": the original of " + name + " would be kept over this input";
        } else if (!request.force && ::lstat(backup.c_str(), &info) == 0) {
            plan.faults[i] = backup + ": exists already (--force replaces it)";
        }
    }
}

void CheckFileOutput(const std::filesystem::path& output, const std::vector<Input>& inputs, bool force) {
    if (const auto fault = OutputFault(output, InputIdentities(inputs), force))
        throw Failure(kPathAccessError, *fault);
}

void CheckStandardOutput(const std::vector<Input>& inputs) {
    const auto output = IdentityOfDescriptor(STDOUT_FILENO);
    if (!output) return;
    if (const auto input = InputIdentities(inputs).InputAt(*output)) {
        throw Failure(kPathAccessError,
                      *input + ": is also the standard output; an output is never its own source");
    }
}

bool IsDeviceOrPipe(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode));
}

// A document becomes a package of its own: never on standard output, a device, or one file
// with other inputs. Named by the caller, that is a fault of the request; found in a folder, a
// fault of that input.
void CheckDocumentOutputs(OutputPlan& plan) {
    for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
        const Input& input = plan.inputs[i];
        if (!input.document) continue;
        std::string fault;
        if (plan.kind != OutputKind::OneFile) {
            fault = ShownName(input) + ": a document is converted into a file: give -o FILE or --beside";
        } else if (plan.inputs.size() > 1) {
            fault = ShownName(input) +
                    ": a document is converted alone into its own file: one input with -o, or --beside";
        }
        if (fault.empty()) continue;
        if (!input.found) throw RequestFault(fault);
        plan.faults[i] = fault;
    }
}

bool IsStandardOutput(const std::filesystem::path& path) {
    const auto output = IdentityOfDescriptor(STDOUT_FILENO);
    return path == "-" || (output && IdentityOfPath(path) == output);
}

void PlanOneOutput(const BatchRequest& request, OutputPlan& plan) {
    if (request.output != OutputKind::OneFile || IsStandardOutput(request.outputPath)) {
        plan.kind = OutputKind::StandardOutput;
        CheckDocumentOutputs(plan);
        return CheckStandardOutput(plan.inputs);
    }
    // a link given as the output is written through: its target is replaced, the link stays
    std::error_code error;
    const bool link = std::filesystem::is_symlink(request.outputPath, error);
    const std::filesystem::path output =
        link ? std::filesystem::weakly_canonical(request.outputPath, error) : request.outputPath;
    plan.outputs = {error ? request.outputPath : output};
    plan.kind = IsDeviceOrPipe(plan.outputs.front()) ? OutputKind::Device : OutputKind::OneFile;
    CheckDocumentOutputs(plan);
    if (plan.kind == OutputKind::Device) return;
    CheckFileOutput(plan.outputs.front(), plan.inputs, request.force);
}

}  // namespace

std::filesystem::path ProposedPath(const Input& input, const std::string& targetFont) {
    ChosenSource source = DescribeSource(input.name);
    source.extension = NewFileExtension(input.name, input.document);
    return source.folder + ProposedFileName(source, targetFont);
}

OutputPlan PlanOutputs(const BatchRequest& request, const std::string& targetFont,
                       std::vector<Input> inputs) {
    OutputPlan plan;
    plan.inputs = std::move(inputs);
    Places places;
    OutputOf outputOf;
    if (request.output == OutputKind::BesideEach)
        outputOf = [&](const Input& input) { return std::optional(ProposedPath(input, targetFont)); };
    if (request.output == OutputKind::InPlace && !request.backupSuffix.empty()) {
        outputOf = [&](const Input& input) {
            return std::optional<std::filesystem::path>(input.name + request.backupSuffix);
        };
    }
    LeaveOutFoundOutputs(plan, places, outputOf);
    plan.faults.assign(plan.inputs.size(), "");
    plan.kind = request.output;
    if (request.output == OutputKind::BesideEach) {
        PlanBeside(request, targetFont, plan, places);
    } else if (request.output == OutputKind::InPlace) {
        PlanInPlace(request, plan, places);
    } else {
        PlanOneOutput(request, plan);
    }
    return plan;
}

}  // namespace varnex
