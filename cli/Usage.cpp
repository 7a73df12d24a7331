#include "Usage.h"

#include "ConvertOptionTable.h"

namespace varnex::cli {

namespace {

std::string OptionLines() {
    std::string lines;
    for (const ConvertOption& option : ConvertOptionTable()) lines += option.help;
    return lines;
}

}  // namespace

std::string HelpText() {
    return R"(Usage: varnex -f SOURCE -t TARGET [OPTION...] [FILE...]
       varnex -l [--aliases] [--map PATH]
       varnex --clean-temporary DIR [-r] [--force]
       varnex map COMMAND ...        (varnex map --help)
       varnex detect [FILE...]       (varnex detect --help)

Converts text typed for one legacy 8-bit font into the codes of another, with the font map
that Varnex 2010 uses. Each FILE (standard input when there is none, or for -) is converted
to standard output, to one file (-o), to a new file beside it (--beside), or in its place
(-i). With -r, a FILE that is a folder stands for the files below it.

)" + OptionLines() +
           R"(      --              the words after it are FILE names, even when they begin with -

A word document (DOCX) or OpenDocument text (ODT), recognised by its content, is converted
as a document: only text set in the source font changes, that font is renamed to TARGET, and
everything else is kept. It goes to a file of its own (-o FILE, --beside, which keeps its
extension, or -i). With --report, characters of source-font text that have no code, and codes
without an entry, are counted; with --strict they are an error (part, paragraph, character).

Long options may be shortened to any unambiguous prefix (--fro), short ones clustered (-rj4).

Output files appear only when complete: the text goes to a file without a name in the same
folder (where the filesystem has none, a temporary file .NAME.varnex-XXXXXX), which is
synced and then given its name; a batch syncs its files together. An output is never a
source file, except with -i. A batch of several files ends with a summary line.

Exit status: 0 success, 1 a conversion or I/O failure (of any file; the others are still
converted), 2 a usage error, 130 interrupted.

Examples:
  varnex -f KOI8-R -t Windows-1251 letter.txt > letter-1251.txt
  varnex -f koi8r -t windows1251 --beside *.txt
  varnex -f KOI8-R -t Windows-1251 -r --beside old/
  varnex -f CP866 -t KOI8-R -r -i.bak --include '*.txt' archive/
  cat old.txt | varnex -f CP866 -t "GOST 7.79-B Latin" --report
  varnex -f KOI8-R -t CP866 --strict -o out.txt in.txt
  varnex -f auto -t UTF-8 -r --beside archive/
  varnex detect --format=tsv *.txt
  varnex -l --map ~/old/mskvmap16.dll
  varnex -f cp1251 -t utf8 letter.txt
  varnex -l --aliases
  varnex -f KOI8-R -t Windows-1251 letter.docx -o letter-1251.docx
  varnex -f KOI8-R -t Windows-1251 --doc-font "Kiril Times" --beside old.odt
)";
}

std::string VersionText() { return std::string("varnex (Varnex 2010) ") + VARNEX_VERSION + "\n"; }

}  // namespace varnex::cli
