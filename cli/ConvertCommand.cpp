#include "ConvertCommand.h"

#include <fnmatch.h>
#include <unistd.h>

#include <cstdlib>
#include <ostream>

#include "CleanTemporary.h"
#include "ConvertOptions.h"
#include "Interrupts.h"
#include "Messages.h"
#include "TerminalObserver.h"
#include "Usage.h"
#include "batch/BatchRun.h"
#include "batch/RequestFault.h"
#include "map/FontAliases.h"
#include "map/FontLoaders.h"

namespace varnex::cli {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int ListFonts(const std::filesystem::path& mapPath, std::ostream& out) {
    for (const auto& font : LoadFontList(mapPath)) out << font << '\n';
    out.flush();
    return out ? kSuccess : kFailed;
}

// Each font on a line of its own, its aliases after it: FONT<TAB>ALIAS<TAB>...
int ListFontsWithAliases(const std::filesystem::path& mapPath, std::ostream& out) {
    for (const auto& listed : LoadFontListWithAliases(mapPath)) {
        out << listed.font;
        for (const auto& alias : listed.aliases) out << '\t' << alias;
        out << '\n';
    }
    out.flush();
    return out ? kSuccess : kFailed;
}

// VARNEX_TEMPORARY_FILES=named: a named temporary file even where the filesystem has unnamed
// ones, as on filesystems without them.
TemporaryFile TemporaryFilesWanted() {
    const char* wanted = std::getenv("VARNEX_TEMPORARY_FILES");
    return wanted && std::string(wanted) == "named" ? TemporaryFile::Named : TemporaryFile::Unnamed;
}

// A name filter that takes the names matching any of the globs; none for no globs.
NameFilter MatchingAny(const std::vector<std::string>& globs) {
    if (globs.empty()) return nullptr;
    return [globs](const std::string& name) {
        for (const auto& glob : globs) {
            if (::fnmatch(glob.c_str(), name.c_str(), 0) == 0) return true;
        }
        return false;
    };
}

BatchRequest RequestOf(const ConvertOptions& options) {
    BatchRequest request;
    request.source = options.source;
    request.target = options.target;
    request.inputs = options.files;
    request.recursive = options.recursive;
    request.include = MatchingAny(options.includes);
    request.exclude = MatchingAny(options.excludes);
    if (options.inPlace) {
        request.output = OutputKind::InPlace;
        request.backupSuffix = *options.inPlace;
    } else if (options.beside) {
        request.output = OutputKind::BesideEach;
    } else if (options.output) {
        request.output = OutputKind::OneFile;
        request.outputPath = *options.output;
    }
    request.force = options.force;
    request.keepTime = options.keepTime;
    request.jobs = options.jobs;
    request.temporaryFiles = TemporaryFilesWanted();
    request.docFonts = options.docFonts;
    request.targetDocFont = options.targetDocFont;
    request.report = options.report;
    request.strict = options.strict;
    request.asText = options.asText;
    return request;
}

int Convert(const ConvertOptions& options, const std::filesystem::path& mapPath, Messages& messages) {
    try {
        const LoadedMap map = LoadMap(mapPath);
        TerminalObserver observer(messages, options.recursive, options.report);
        InterruptHooks hooks;
        const BatchTotals totals = RunBatch(map, RequestOf(options), observer, hooks);
        return totals.failed > 0 ? kFailed : kSuccess;
    } catch (const RequestFault& fault) {
        messages.Line(fault.what());
        return kUsage;
    } catch (const std::exception& failure) {
        messages.Line(failure.what());
        return kFailed;
    }
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
            return options.aliases ? ListFontsWithAliases(mapPath, out) : ListFonts(mapPath, out);
        } catch (const std::exception& failure) {
            messages.Line(failure.what());
            return kFailed;
        }
    }
    return Convert(options, mapPath, messages);
}

}  // namespace varnex::cli
