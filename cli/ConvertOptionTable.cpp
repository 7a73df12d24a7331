#include "ConvertOptionTable.h"

#include <charconv>

namespace varnex::cli {

namespace {

unsigned JobCount(const std::string& text) {
    unsigned count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count == 0 || count > kMostJobs) {
        throw UsageError("-j needs a number of files from 1 to " + std::to_string(kMostJobs) + ", not \"" +
                         text + "\"");
    }
    return count;
}

using O = ConvertOptions;
using V = const std::string&;

std::vector<ConvertOption> MakeTable() {
    return {
        {{0, "from", 'f', Takes::Value},
         ValueKind::Font,
         "  -f, --from SOURCE   the font the text was typed for; auto: each file's own, as\n"
         "                      varnex detect finds it (a file it cannot tell fails)\n",
         [](O& o, V v) { o.source = v; }},
        {{0, "to", 't', Takes::Value},
         ValueKind::Font,
         "  -t, --to TARGET     the font to convert to\n"
         "                      Names are matched exactly, then ignoring letter case, blanks and\n"
         "                      punctuation (\"koi8r\" finds \"KOI8-R\"), then as an alias: the\n"
         "                      map's, then a code page's usual names (\"cp1251\", \"866\", \"utf8\");\n"
         "                      a name of several fonts (\"koi8\") is refused with their names\n",
         [](O& o, V v) { o.target = v; }},
        {{0, "output", 'o', Takes::Value},
         ValueKind::File,
         "  -o, --output OUT    write everything to OUT (- is standard output)\n",
         [](O& o, V v) { o.output = v; }},
        {{0, "beside", 0, Takes::Nothing},
         ValueKind::None,
         "      --beside        write each FILE to SOURCEBASE_TARGET.txt in its own folder, the\n"
         "                      name the window proposes\n",
         [](O& o, V) { o.beside = true; }},
        {{0, "in-place", 'i', Takes::OptionalValue},
         ValueKind::None,
         "  -i, --in-place[=SUFFIX]\n"
         "                      replace each FILE by its conversion, keeping its permissions and\n"
         "                      owner; with a SUFFIX (-i.bak, --in-place=.bak) the original stays\n"
         "                      as FILE.bak\n",
         [](O& o, V v) { o.inPlace = v; }},
        {{0, "keep-time", 0, Takes::Nothing},
         ValueKind::None,
         "      --keep-time     with -i, keep each file's access and modification times\n",
         [](O& o, V) { o.keepTime = true; }},
        {{0, "force", 0, Takes::Nothing},
         ValueKind::None,
         "      --force         replace an output file (or -i's FILE.bak) that exists already\n",
         [](O& o, V) { o.force = true; }},
        {{0, "strict", 0, Takes::Nothing},
         ValueKind::None,
         "      --strict        a code without an entry is an error (file, byte offset, code);\n"
         "                      no output file is left behind\n",
         [](O& o, V) { o.strict = true; }},
        {{0, "report", 0, Takes::Nothing},
         ValueKind::None,
         "      --report        say on standard error how many codes were dropped, and which\n",
         [](O& o, V) { o.report = true; }},
        {{0, "as-text", 0, Takes::Nothing},
         ValueKind::None,
         "      --as-text       convert a FILE that is no text (a binary file, an archive, RTF,\n"
         "                      another office document) byte by byte all the same\n",
         [](O& o, V) { o.asText = true; }},
        {{0, "doc-font", 0, Takes::Value},
         ValueKind::Font,
         "      --doc-font NAME   in a document (DOCX, ODT), text set in the font NAME is in the\n"
         "                      source font too (repeatable); for documents whose font names\n"
         "                      differ from the map's\n",
         [](O& o, V v) { o.docFonts.push_back(v); }},
        {{0, "target-doc-font", 0, Takes::Value},
         ValueKind::Font,
         "      --target-doc-font NAME\n"
         "                      the font name converted document text gets (default: TARGET)\n",
         [](O& o, V v) { o.targetDocFont = v; }},
        {{0, "recursive", 'r', Takes::Nothing},
         ValueKind::None,
         "  -r, --recursive     convert the files below each FILE that is a folder, in the order\n"
         "                      of their names: text, and word documents (other files are skipped\n"
         "                      and counted); symbolic links to folders are never followed\n",
         [](O& o, V) { o.recursive = true; }},
        {{0, "include", 0, Takes::Value},
         ValueKind::Free,
         "      --include GLOB  with -r, take only the files whose name matches GLOB, whatever\n"
         "                      they hold (repeatable)\n",
         [](O& o, V v) { o.includes.push_back(v); }},
        {{0, "exclude", 0, Takes::Value},
         ValueKind::Free,
         "      --exclude GLOB  with -r, leave out the files and folders whose name matches GLOB\n"
         "                      (repeatable)\n",
         [](O& o, V v) { o.excludes.push_back(v); }},
        {{0, "jobs", 'j', Takes::Value},
         ValueKind::Free,
         "  -j, --jobs N        convert N files at once (default: one per processor); the output\n"
         "                      is the same, and standard output gets the files in their order\n",
         [](O& o, V v) { o.jobs = JobCount(v); }},
        {{0, "list", 'l', Takes::Nothing},
         ValueKind::None,
         "  -l, --list          list the fonts of the map, one per line, in table order\n",
         [](O& o, V) { o.list = true; }},
        {{0, "aliases", 0, Takes::Nothing},
         ValueKind::None,
         "      --aliases       with -l, each font's aliases after it, separated by tabs\n",
         [](O& o, V) { o.aliases = true; }},
        {{0, "map", 0, Takes::Value},
         ValueKind::File,
         "      --map PATH      use another font map (SQLite or Jet 4.0); the default is\n"
         "                      mskvmap16.dll beside this program\n",
         [](O& o, V v) { o.map = v; }},
        {{0, "clean-temporary", 0, Takes::Value},
         ValueKind::Folder,
         "      --clean-temporary DIR\n"
         "                      list the temporary files that killed runs left in DIR (below it\n"
         "                      with -r), with their age; with --force, remove them\n",
         [](O& o, V v) { o.cleanTemporary = v; }},
        {{0, "help", 'h', Takes::Nothing},
         ValueKind::None,
         "  -h, --help          show this help\n",
         [](O& o, V) { o.help = true; }},
        {{0, "version", 'V', Takes::Nothing},
         ValueKind::None,
         "  -V, --version       show the version\n",
         [](O& o, V) { o.version = true; }},
    };
}

std::string Spellings(const OptionDefinition& option, const char* between) {
    const std::string full = std::string("--") + option.longName;
    return option.shortName ? std::string("-") + option.shortName + between + full : full;
}

}  // namespace

const std::vector<ConvertOption>& ConvertOptionTable() {
    static const std::vector<ConvertOption> table = [] {
        std::vector<ConvertOption> made = MakeTable();
        for (std::size_t i = 0; i < made.size(); ++i) made[i].definition.id = static_cast<int>(i);
        return made;
    }();
    return table;
}

std::vector<OptionDefinition> ConvertOptionDefinitions() {
    std::vector<OptionDefinition> definitions;
    for (const ConvertOption& option : ConvertOptionTable()) definitions.push_back(option.definition);
    return definitions;
}

std::string ConvertOptionSpellings() {
    std::string words;
    for (const ConvertOption& option : ConvertOptionTable())
        words += (words.empty() ? "" : " ") + Spellings(option.definition, " ");
    return words + " --";
}

std::string ConvertOptionSpellings(ValueKind value) {
    std::string words;
    for (const ConvertOption& option : ConvertOptionTable()) {
        if (option.value == value)
            words += (words.empty() ? "" : " | ") + Spellings(option.definition, " | ");
    }
    return words;
}

}  // namespace varnex::cli
