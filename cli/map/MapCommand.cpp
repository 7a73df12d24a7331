#include "MapCommand.h"

#include <ostream>

#include "Failure.h"
#include "MapSubcommands.h"
#include "OptionParser.h"

namespace varnex::cli {

namespace {

constexpr char kUsage[] = R"(usage: varnex map check [MAP] [--pair SOURCE TARGET] [--format=text|tsv]
       varnex map export [MAP] [-o FILE]
       varnex map build SOURCE.tsv -o MAP [--allow-errors] [--unicode]
       varnex map diff MAP_A MAP_B

MAP is a font map: an SQLite or Jet 4.0 mskvmap16.dll, or the text form (a .tsv file).
Without MAP, the map beside the program is used.

  check   reports every cell that would end the program, with row and column, and what a
          conversion would quietly do otherwise (repeated codes, dropped codes, ...);
          exit code 1 when the program would end on the map, 0 when there are only notes
  export  writes the table in the form of data/font_info.tsv (to the standard output)
  build   checks a map and writes it as an SQLite font map; a map with errors is not
          written, unless --allow-errors asks for it as it is; --unicode adds the Unicode
          font "UTF-8", written from the "#character" column (U+XXXX) of the text form
  diff    lists the pairs and codes that two maps convert differently; exit code 1 if any

examples:
  varnex map check ~/old/mskvmap16.dll
  varnex map check data/font_info.tsv --pair KOI8-R CP866
  varnex map export ~/old/mskvmap16.dll > my_fonts.tsv
  varnex map build my_fonts.tsv -o mskvmap16.dll
  varnex map diff ~/old/mskvmap16.dll mskvmap16.dll
)";

using Subcommand = int (*)(const std::vector<std::string>&, const std::filesystem::path&, std::ostream&,
                           std::ostream&);

Subcommand FindSubcommand(const std::string& name) {
    if (name == "check") return map::RunCheck;
    if (name == "export") return map::RunExport;
    if (name == "build") return map::RunBuild;
    if (name == "diff") return map::RunDiff;
    return nullptr;
}

int UsageFailure(const std::string& what, std::ostream& err) {
    err << "varnex: map: " << what << " (see \"varnex map --help\")\n";
    return 2;
}

}  // namespace

int RunMapCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                  std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageFailure("name a subcommand: check, export, build or diff", err);
    if (args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        out << kUsage;
        return 0;
    }
    const Subcommand run = FindSubcommand(args.front());
    if (!run) return UsageFailure("unknown subcommand \"" + args.front() + "\"", err);
    try {
        return run({args.begin() + 1, args.end()}, defaultMap, out, err);
    } catch (const UsageError& error) {
        return UsageFailure(args.front() + ": " + error.what(), err);
    } catch (const std::exception& failure) {
        err << "varnex: " << failure.what() << "\n";
        return 1;
    }
}

}  // namespace varnex::cli
