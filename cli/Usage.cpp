#include "Usage.h"

namespace varnex::cli {

std::string HelpText() {
    return R"(Usage: varnex -f SOURCE -t TARGET [OPTION...] [FILE...]
       varnex -l [--map PATH]
       varnex map COMMAND ...        (varnex map --help)

Converts text typed for one legacy 8-bit font into the codes of another, with the font map
that Varnex 2010 uses. Each FILE (standard input when there is none, or for -) is converted
to standard output, to one file (-o) or to a new file beside it (--beside).

  -f, --from SOURCE   the font the text was typed for
  -t, --to TARGET     the font to convert to
                      Names are matched exactly, then ignoring letter case, blanks and
                      punctuation ("koi8r" finds "KOI8-R").
  -o, --output OUT    write everything to OUT (- is standard output)
      --beside        write each FILE to SOURCEBASE_TARGET.txt in its own folder, the
                      name the window proposes
      --force         replace an output file that exists already
      --strict        a code without an entry is an error (file, byte offset, code);
                      no output file is left behind
      --report        say on standard error how many codes were dropped, and which
      --doc-font NAME   in a document (DOCX, ODT), text set in the font NAME is in the
                      source font too (repeatable); for documents whose font names
                      differ from the map's
      --target-doc-font NAME
                      the font name converted document text gets (default: TARGET)
  -l, --list          list the fonts of the map, one per line, in table order
      --map PATH      use another font map (SQLite or Jet 4.0); the default is
                      mskvmap16.dll beside this program
  -h, --help          show this help
  -V, --version       show the version
      --              the words after it are FILE names, even when they begin with -

A word document (DOCX) or OpenDocument text (ODT), recognised by its content, is converted
as a document: only text set in the source font changes, that font is renamed to TARGET, and
everything else is kept. It goes to a file of its own (-o FILE or --beside, which keeps its
extension). With --report, characters of source-font text that have no code, and codes
without an entry, are counted; with --strict they are an error (part, paragraph, character).

Output files appear only when complete: the text goes to a temporary file in the same
folder, which is synced and renamed into place. An output is never the source file.

Exit status: 0 success, 1 a conversion or I/O failure, 2 a usage error, 130 interrupted.

Examples:
  varnex -f KOI8-R -t Windows-1251 letter.txt > letter-1251.txt
  varnex -f koi8r -t windows1251 --beside *.txt
  cat old.txt | varnex -f CP866 -t "GOST 7.79-B Latin" --report
  varnex -f KOI8-R -t CP866 --strict -o out.txt in.txt
  varnex -l --map ~/old/mskvmap16.dll
  varnex -f KOI8-R -t Windows-1251 letter.docx -o letter-1251.docx
  varnex -f KOI8-R -t Windows-1251 --doc-font "Kiril Times" --beside old.odt
)";
}

std::string VersionText() { return std::string("varnex (Varnex 2010) ") + VARNEX_VERSION + "\n"; }

}  // namespace varnex::cli
