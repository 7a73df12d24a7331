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
  -l, --list          list the fonts of the map, one per line, in table order
      --map PATH      use another font map (SQLite or Jet 4.0); the default is
                      mskvmap16.dll beside this program
  -h, --help          show this help
  -V, --version       show the version
      --              the words after it are FILE names, even when they begin with -

Output files appear only when complete: the text goes to a temporary file in the same
folder, which is synced and renamed into place. An output is never the source file.

Exit status: 0 success, 1 a conversion or I/O failure, 2 a usage error, 130 interrupted.

Examples:
  varnex -f KOI8-R -t Windows-1251 letter.txt > letter-1251.txt
  varnex -f koi8r -t windows1251 --beside *.txt
  cat old.txt | varnex -f CP866 -t "GOST 7.79-B Latin" --report
  varnex -f KOI8-R -t CP866 --strict -o out.txt in.txt
  varnex -l --map ~/old/mskvmap16.dll
)";
}

std::string VersionText() { return std::string("varnex (Varnex 2010) ") + VARNEX_VERSION + "\n"; }

}  // namespace varnex::cli
