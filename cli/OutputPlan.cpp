#include "OutputPlan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "AskNewFileName.h"

namespace varnex::cli {

namespace {

struct Identity {
    dev_t device;
    ino_t inode;
    bool operator==(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(const struct stat& info) { return Identity{info.st_dev, info.st_ino}; }

std::optional<Identity> IdentityOfPath(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

// The input the output would overwrite, if any.
std::optional<std::string> InputAt(const std::vector<std::string>& inputs, const Identity& output) {
    for (const auto& input : inputs) {
        if (input == "-") continue;
        if (IdentityOfPath(input) == output) return input;
    }
    return std::nullopt;
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
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (const auto input = InputAt(inputs, *IdentityOf(info))) {
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
    std::set<std::filesystem::path> named;
    for (const auto& input : plan.inputs) {
        const std::filesystem::path output = ProposedPath(input, targetFont);
        const std::filesystem::path spelled = std::filesystem::absolute(output).lexically_normal();
        if (!named.insert(spelled).second) {
            return PlanFault{output.string() + ": named as the output of two inputs", true};
        }
        if (auto fault = CheckFileOutput(output, plan.inputs, options.force)) return fault;
        plan.outputs.push_back(output);
    }
    // the same file reached by two spellings (links) is one output too
    for (std::size_t i = 0; i < plan.outputs.size(); ++i) {
        const auto first = IdentityOfPath(plan.outputs[i]);
        for (std::size_t j = i + 1; first && j < plan.outputs.size(); ++j) {
            if (IdentityOfPath(plan.outputs[j]) == first) {
                return PlanFault{plan.outputs[j].string() + ": named as the output of two inputs", true};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path ProposedPath(const std::string& input, const std::string& targetFont) {
    const ChosenSource source = DescribeSource(input);
    return source.folder + ProposedFileName(source, targetFont);
}

std::optional<PlanFault> PlanOutputs(const ConvertOptions& options, const std::string& targetFont,
                                     OutputPlan& plan) {
    plan.inputs = options.files.empty() ? std::vector<std::string>{"-"} : options.files;
    if (options.beside) {
        plan.kind = OutputKind::BesideEach;
        return PlanBeside(options, targetFont, plan);
    }
    if (!options.output) {
        plan.kind = OutputKind::StandardOutput;
        return CheckStandardOutput(plan.inputs);
    }
    plan.outputs = {*options.output};
    if (IsDeviceOrPipe(*options.output)) {
        plan.kind = OutputKind::Device;
        return std::nullopt;
    }
    plan.kind = OutputKind::OneFile;
    return CheckFileOutput(*options.output, plan.inputs, options.force);
}

}  // namespace varnex::cli
