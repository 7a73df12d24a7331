#include "ConvertCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <ostream>

#include "ConvertOptions.h"
#include "DocumentInput.h"
#include "Failure.h"
#include "Interrupts.h"
#include "OutputPlan.h"
#include "ProgressBar.h"
#include "Usage.h"
#include "files/SafeOutput.h"
#include "jobs/StreamConversion.h"
#include "map/FontLoaders.h"
#include "map/FontNameMatch.h"

namespace varnex::cli {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kPipeSize = 1 << 20;

// What one run of the converter works with.
struct Run {
    const ConvertOptions& options;
    FontMap map;
    std::ostream& err;
    DocumentFonts documentFonts{};
};

std::string NameOf(const std::string& input) { return input == "-" ? "standard input" : input; }

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

// The map's own name for a font typed on the command line; throws Failure naming the
// nearest fonts.
std::string ResolveFont(const FontTable& table, const std::string& typed,
                        const std::filesystem::path& mapPath) {
    const FontNameMatch match = MatchFontName(table.columns, typed);
    if (!match.font.empty()) return match.font;
    const std::string where = mapPath.string() + ": the font \"" + typed + "\"";
    if (match.ambiguous)
        throw Failure(kItemNotFound, where + " is ambiguous: it may be " + Listed(match.nearest));
    throw Failure(kItemNotFound, where + " is not in the map; the nearest are " + Listed(match.nearest));
}

// The map's rows for the pair; a bad cell is reported with the map's name.
void BuildMap(const FontTable& table, const std::string& source, const std::string& target,
              const std::filesystem::path& mapPath, FontMap& map) {
    try {
        BuildFontMap(table, source, target, map);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), mapPath.string() + ": " + failure.Description());
    }
}

int ListFonts(const std::filesystem::path& mapPath, std::ostream& out) {
    for (const auto& font : LoadFontList(mapPath)) out << font << '\n';
    out.flush();
    return out ? kSuccess : kFailed;
}

// Standard input as a SourceFile; a larger pipe buffer means fewer, larger reads.
std::unique_ptr<SourceFile> OpenInput(const std::string& input) {
    if (input != "-") return std::make_unique<SourceFile>(input);
    ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, kPipeSize);
    const int fd = ::dup(STDIN_FILENO);
    if (fd < 0) throw Failure(kDeviceError, "standard input: cannot be read");
    return std::make_unique<SourceFile>(fd, "standard input");
}

std::uint64_t KnownSize(const std::string& input) {
    struct stat info {};
    const int result = input == "-" ? ::fstat(STDIN_FILENO, &info) : ::stat(input.c_str(), &info);
    return result == 0 && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::string CharacterName(char32_t character) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

void ReportMissingCodes(const StreamTotals& totals, std::ostream& err) {
    const std::uint64_t count = totals.MissingCount();
    err << count << (count == 1 ? " code" : " codes") << " without an entry dropped:";
    const char* separator = " ";
    for (int code = 0; code < 256; ++code) {
        if (totals.missing[code] == 0) continue;
        err << separator << code << " (" << totals.missing[code] << "x)";
        separator = ", ";
    }
}

void ReportMissingCharacters(const StreamTotals& totals, std::ostream& err) {
    const std::uint64_t count = totals.MissingCount() - totals.illFormed;
    if (count != 0) {
        err << count << (count == 1 ? " character" : " characters") << " without an entry dropped:";
        bool first = true;
        for (const auto& [character, times] : totals.missingCharacters) {
            err << (first ? " " : ", ") << CharacterName(character) << " (" << times << "x)";
            first = false;
        }
    }
    if (totals.illFormed != 0) {
        err << (count != 0 ? "; " : "") << totals.illFormed
            << (totals.illFormed == 1 ? " ill-formed byte sequence" : " ill-formed byte sequences")
            << " dropped";
    }
}

void ReportMissing(const std::string& input, const StreamTotals& totals, bool characters, std::ostream& err) {
    err << "varnex: " << NameOf(input) << ": ";
    if (totals.MissingCount() == 0) {
        err << (characters ? "no characters dropped\n" : "no codes dropped\n");
        return;
    }
    if (characters) {
        ReportMissingCharacters(totals, err);
    } else {
        ReportMissingCodes(totals, err);
    }
    err << '\n';
}

MissingCodes MissingPolicy(const ConvertOptions& options) {
    if (options.strict) return MissingCodes::Fail;
    return options.report ? MissingCodes::Count : MissingCodes::Drop;
}

// Converts one input onto the end of `output`.
void ConvertInput(Run& run, const std::string& input, SourceFile& source, NewFile& output) {
    std::unique_ptr<ProgressBar> bar;
    if (::isatty(STDERR_FILENO))
        bar = std::make_unique<ProgressBar>(run.err, NameOf(input), KnownSize(input));
    StreamTotals totals;
    ConvertStream(source, NameOf(input), output, run.map, MissingPolicy(run.options), totals, bar.get());
    bar.reset();
    if (run.options.report) ReportMissing(input, totals, run.map.ReadsUtf8(), run.err);
}

// A new file that appears under its name only when complete.
class PlacedOutput {
public:
    explicit PlacedOutput(const std::filesystem::path& path) {
        const SignalHold hold;
        output_ = std::make_unique<SafeOutput>(path);
        guard_ = std::make_unique<TemporaryFileGuard>(output_->TemporaryPath());
    }
    NewFile& File() { return output_->File(); }
    void Commit(bool replace) {
        output_->File().Sync();  // the long part, still open to an interrupt
        const SignalHold hold;
        output_->Commit(replace);
        guard_.reset();
    }

private:
    // destroyed after the output, which removes the temporary file of an unfinished run
    std::unique_ptr<TemporaryFileGuard> guard_;
    std::unique_ptr<SafeOutput> output_;
};

int Fail(std::ostream& err, const std::string& message) {
    err << "varnex: " << message << '\n';
    return kFailed;
}

int ConvertBeside(Run& run, const OutputPlan& plan) {
    int result = kSuccess;
    for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
        try {
            // opened first: a missing source never leaves a temporary file
            const std::unique_ptr<SourceFile> source = OpenInput(plan.inputs[i]);
            const bool document = IsDocumentInput(plan.inputs[i]);
            PlacedOutput output(plan.outputs[i]);
            if (document) {
                ConvertDocumentInput(run.options, run.map, run.documentFonts, plan.inputs[i], output.File(),
                                     run.err);
            } else {
                ConvertInput(run, plan.inputs[i], *source, output.File());
            }
            output.Commit(run.options.force);
        } catch (const std::exception& failure) {
            result = Fail(run.err, failure.what());
        }
    }
    return result;
}

// Into one file every input must convert, or the file is not put in place.
// A document is the only input of its file (the plan sees to that).
void ConvertAllInto(Run& run, const OutputPlan& plan, NewFile& output) {
    for (const auto& input : plan.inputs) {
        const std::unique_ptr<SourceFile> source = OpenInput(input);
        if (IsDocumentInput(input)) {
            ConvertDocumentInput(run.options, run.map, run.documentFonts, input, output, run.err);
        } else {
            ConvertInput(run, input, *source, output);
        }
    }
}

// To standard output an input that cannot be read is reported and the others go on, as cat
// and iconv do.
int ConvertEachInto(Run& run, const OutputPlan& plan, NewFile& output) {
    int result = kSuccess;
    for (const auto& input : plan.inputs) {
        std::unique_ptr<SourceFile> source;
        try {
            source = OpenInput(input);
        } catch (const Failure& failure) {
            result = Fail(run.err, failure.what());
            continue;
        }
        ConvertInput(run, input, *source, output);
    }
    return result;
}

int ConvertPlan(Run& run, const OutputPlan& plan) {
    if (plan.kind == OutputKind::BesideEach) return ConvertBeside(run, plan);
    try {
        if (plan.kind == OutputKind::OneFile) {
            PlacedOutput output(plan.outputs.front());
            ConvertAllInto(run, plan, output.File());
            output.Commit(run.options.force);
            return kSuccess;
        }
        const bool device = plan.kind == OutputKind::Device;
        const int fd =
            device ? ::open(plan.outputs.front().c_str(), O_WRONLY | O_CLOEXEC) : ::dup(STDOUT_FILENO);
        if (fd < 0)
            throw Failure(kPathAccessError, plan.outputs.front().string() + ": cannot be opened for writing");
        if (!device) ::fcntl(fd, F_SETPIPE_SZ, kPipeSize);
        NewFile output(fd, device ? plan.outputs.front() : std::filesystem::path("standard output"));
        const int result = ConvertEachInto(run, plan, output);
        output.Close();
        return result;
    } catch (const std::exception& failure) {
        return Fail(run.err, failure.what());
    }
}

int Convert(const ConvertOptions& options, const std::filesystem::path& mapPath, std::ostream& err) {
    Run run{options, {}, err};
    std::string target;
    try {
        const FontTable table = ReadFontTable(mapPath);
        const std::string source = ResolveFont(table, options.source, mapPath);
        target = ResolveFont(table, options.target, mapPath);
        BuildMap(table, source, target, mapPath, run.map);
        run.documentFonts = {table.columns, source, target, options.docFonts, options.targetDocFont};
    } catch (const std::exception& failure) {
        return Fail(err, failure.what());
    }
    OutputPlan plan;
    try {
        if (const auto fault = PlanOutputs(options, target, plan)) {
            err << "varnex: " << fault->message << '\n';
            return fault->usage ? kUsage : kFailed;
        }
    } catch (const std::exception& failure) {
        return Fail(err, failure.what());
    }
    return ConvertPlan(run, plan);
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                      std::ostream& out, std::ostream& err) {
    ConvertOptions options;
    try {
        options = ParseConvertOptions(args);
    } catch (const UsageError& fault) {
        err << "varnex: " << fault.what() << '\n';
        return kUsage;
    }
    if (options.help) return (out << HelpText()).flush() ? kSuccess : kFailed;
    if (options.version) return (out << VersionText()).flush() ? kSuccess : kFailed;
    InstallInterruptHandlers();
    const std::filesystem::path mapPath = options.map.value_or(defaultMap);
    if (options.list) {
        try {
            return ListFonts(mapPath, out);
        } catch (const std::exception& failure) {
            return Fail(err, failure.what());
        }
    }
    return Convert(options, mapPath, err);
}

}  // namespace varnex::cli
