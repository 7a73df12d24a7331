#include "ConvertCommand.h"

#include <unistd.h>

#include <cstdlib>
#include <ostream>

#include "BatchRun.h"
#include "CleanTemporary.h"
#include "ConversionRun.h"
#include "ConvertOptions.h"
#include "Failure.h"
#include "InputList.h"
#include "Interrupts.h"
#include "Messages.h"
#include "OutputPlan.h"
#include "Usage.h"
#include "map/FontLoaders.h"
#include "map/FontNameMatch.h"

namespace varnex::cli {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

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

// VARNEX_TEMPORARY_FILES=named: a named temporary file even where the filesystem has unnamed
// ones, as on filesystems without them.
TemporaryFile TemporaryFilesWanted() {
    const char* wanted = std::getenv("VARNEX_TEMPORARY_FILES");
    return wanted && std::string(wanted) == "named" ? TemporaryFile::Named : TemporaryFile::Unnamed;
}

int Convert(const ConvertOptions& options, const std::filesystem::path& mapPath, Messages& messages) {
    ConversionRun run{options, {}, {}, TemporaryFilesWanted()};
    std::string target;
    try {
        const FontTable table = ReadFontTable(mapPath);
        const std::string source = ResolveFont(table, options.source, mapPath);
        target = ResolveFont(table, options.target, mapPath);
        BuildMap(table, source, target, mapPath, run.map);
        run.documentFonts = {table.columns, source, target, options.docFonts, options.targetDocFont};
    } catch (const std::exception& failure) {
        messages.Line(failure.what());
        return kFailed;
    }
    const auto started = std::chrono::steady_clock::now();
    OutputPlan plan;
    InputList list;
    try {
        list = ListInputs(options, messages);
        if (const auto fault = PlanOutputs(options, target, std::move(list.inputs), plan)) {
            messages.Line(fault->message);
            return fault->usage ? kUsage : kFailed;
        }
    } catch (const std::exception& failure) {
        messages.Line(failure.what());
        return kFailed;
    }
    return RunBatch(run, plan, list, messages, started);
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                      std::ostream& out, std::ostream& err) {
    Messages messages(err, ::isatty(STDERR_FILENO) == 1);
    ConvertOptions options;
    try {
        options = ParseConvertOptions(args);
    } catch (const UsageError& fault) {
        messages.Line(fault.what());
        return kUsage;
    }
    if (options.help) return (out << HelpText()).flush() ? kSuccess : kFailed;
    if (options.version) return (out << VersionText()).flush() ? kSuccess : kFailed;
    InstallInterruptHandlers();
    if (options.cleanTemporary) {
        return CleanTemporary(*options.cleanTemporary, options.recursive, options.force, out, messages);
    }
    const std::filesystem::path mapPath = options.map.value_or(defaultMap);
    if (options.list) {
        try {
            return ListFonts(mapPath, out);
        } catch (const std::exception& failure) {
            messages.Line(failure.what());
            return kFailed;
        }
    }
    return Convert(options, mapPath, messages);
}

}  // namespace varnex::cli
