#include "OutputPlan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <utility>

#include "DocumentInput.h"
#include "jobs/AskNewFileName.h"

namespace varnex::cli {

namespace {

struct Identity {
    dev_t device;
    ino_t inode;
    auto operator<=>(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(const struct stat& info) { return Identity{info.st_dev, info.st_ino}; }

std::optional<Identity> IdentityOfPath(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

std::optional<Identity> IdentityOfDescriptor(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

// The input the output would overwrite, if any; standard input counts when it is a file.
std::optional<std::string> InputAt(const std::vector<std::string>& inputs, const Identity& output) {
    for (const auto& input : inputs) {
        const auto identity = input == "-" ? IdentityOfDescriptor(STDIN_FILENO) : IdentityOfPath(input);
        if (identity == output) return input == "-" ? "standard input" : input;
    }
    return std::nullopt;
}

// Where a new file of that name would go: its folder's identity and its name, so that two
// spellings of one folder (links, "..") give the same place.
std::optional<std::pair<Identity, std::string>> PlaceOf(const std::filesystem::path& path) {
    const auto folder = IdentityOfPath(path.has_parent_path() ? path.parent_path() : ".");
    if (!folder) return std::nullopt;
    return std::pair{*folder, path.filename().string()};
}

std::optional<PlanFault> CheckFileOutput(const std::filesystem::path& output,
                                         const std::vector<std::string>& inputs, bool force) {
    struct stat info {};
    if (::stat(output.c_str(), &info) != 0) return std::nullopt;
    if (const auto input = InputAt(inputs, *IdentityOf(info))) {
        return PlanFault{output.string() + ": is the input file " + *input +
                         "; an output is never its own source"};
    }
    if (S_ISDIR(info.st_mode)) return PlanFault{output.string() + ": is a folder"};
    if (!force) return PlanFault{output.string() + ": exists already (--force replaces it)"};
    return std::nullopt;
}

std::optional<PlanFault> CheckStandardOutput(const std::vector<std::string>& inputs) {
    const auto output = IdentityOfDescriptor(STDOUT_FILENO);
    if (!output) return std::nullopt;
    if (const auto input = InputAt(inputs, *output)) {
        return PlanFault{*input + ": is also the standard output; an output is never its own source"};
    }
    return std::nullopt;
}

bool IsDeviceOrPipe(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode));
}

std::optional<PlanFault> PlanBeside(const ConvertOptions& options, const std::string& targetFont,
                                    OutputPlan& plan) {
    std::set<std::pair<Identity, std::string>> places;
    for (const auto& input : plan.inputs) {
        const std::filesystem::path output = ProposedPath(input, targetFont);
        const auto place = PlaceOf(output);
        if (place && !places.insert(*place).second) {
            return PlanFault{output.string() + ": named as the output of two inputs", true};
        }
        if (auto fault = CheckFileOutput(output, plan.inputs, options.force)) return fault;
        plan.outputs.push_back(output);
    }
    return std::nullopt;
}

// A document becomes a package of its own: never on standard output, a device, or one file
// with other inputs.
std::optional<PlanFault> CheckDocumentOutputs(const OutputPlan& plan) {
    if (plan.kind == OutputKind::BesideEach) return std::nullopt;
    for (const auto& input : plan.inputs) {
        if (!LooksLikeDocumentInput(input)) continue;
        const std::string name = input == "-" ? "standard input" : input;
        if (plan.kind != OutputKind::OneFile) {
            return PlanFault{name + ": a document is converted into a file: give -o FILE or --beside", true};
        }
        if (plan.inputs.size() > 1) {
            return PlanFault{
                name + ": a document is converted alone into its own file: one input with -o, or --beside",
                true};
        }
    }
    return std::nullopt;
}

bool IsStandardOutput(const std::filesystem::path& path) {
    const auto output = IdentityOfDescriptor(STDOUT_FILENO);
    return path == "-" || (output && IdentityOfPath(path) == output);
}

}  // namespace

std::filesystem::path ProposedPath(const std::string& input, const std::string& targetFont) {
    ChosenSource source = DescribeSource(input);
    if (LooksLikeDocumentInput(input)) source.extension = NameExtension(input);
    return source.folder + ProposedFileName(source, targetFont);
}

std::optional<PlanFault> PlanOutputs(const ConvertOptions& options, const std::string& targetFont,
                                     OutputPlan& plan) {
    plan.inputs = options.files.empty() ? std::vector<std::string>{"-"} : options.files;
    if (options.beside) {
        plan.kind = OutputKind::BesideEach;
        return PlanBeside(options, targetFont, plan);
    }
    if (!options.output || IsStandardOutput(*options.output)) {
        plan.kind = OutputKind::StandardOutput;
        if (auto fault = CheckDocumentOutputs(plan)) return fault;
        return CheckStandardOutput(plan.inputs);
    }
    // a link given as the output is written through: its target is replaced, the link stays
    std::error_code error;
    const bool link = std::filesystem::is_symlink(*options.output, error);
    const std::filesystem::path output =
        link ? std::filesystem::weakly_canonical(*options.output, error) : *options.output;
    plan.outputs = {error ? *options.output : output};
    if (IsDeviceOrPipe(plan.outputs.front())) {
        plan.kind = OutputKind::Device;
        return CheckDocumentOutputs(plan);
    }
    plan.kind = OutputKind::OneFile;
    if (auto fault = CheckDocumentOutputs(plan)) return fault;
    return CheckFileOutput(plan.outputs.front(), plan.inputs, options.force);
}

}  // namespace varnex::cli
