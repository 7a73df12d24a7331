#include "DetectCommand.h"

#include <cstdio>
#include <optional>
#include <ostream>

#include "Failure.h"
#include "Messages.h"
#include "OptionParser.h"
#include "batch/DocumentFontDetection.h"
#include "batch/DocumentInput.h"
#include "detect/Detector.h"
#include "detect/Sample.h"

namespace varnex::cli {

namespace {

enum DetectOption { kFormat, kMap, kHelp };

constexpr char kUsage[] = R"(usage: varnex detect [--format=text|tsv] [--map PATH] [FILE...]

Tells which font of the map each FILE (standard input when there is none, or for -) is in,
from its first 64 KiB: the best candidates with their confidence (0 to 1) and language, and
the first line of its text as that font reads it. Fonts that read a file as the same text are
one answer. "cannot tell" is the answer for too few letters (fewer than 8) or no clear
winner; "text of any font" for text that every font reads alike (plain ASCII).

  --format=tsv   one line per file: FILE, FONT (? for cannot tell, * for any font), CONFIDENCE,
                 LANGUAGE, then the further candidates as FONT:CONFIDENCE
  --map PATH     use another font map
)";

struct DetectWords {
    std::vector<std::string> files;
    std::string format = "text";
    std::optional<std::filesystem::path> map;
    bool help = false;
};

DetectWords ParseDetectWords(const std::vector<std::string>& words) {
    OptionParser parser(words, {{kFormat, "format", 0, Takes::Value},
                                {kMap, "map", 0, Takes::Value},
                                {kHelp, "help", 'h', Takes::Nothing}});
    DetectWords parsed;
    while (const auto word = parser.Next()) {
        if (word->id == OptionParser::kOperand) parsed.files.push_back(*word->value);
        if (word->id == kFormat) parsed.format = *word->value;
        if (word->id == kMap) parsed.map = *word->value;
        if (word->id == kHelp) parsed.help = true;
    }
    if (parsed.format != "text" && parsed.format != "tsv")
        throw UsageError("--format must be text or tsv, not \"" + parsed.format + "\"");
    if (parsed.files.empty()) parsed.files.push_back("-");
    return parsed;
}

std::string Confidence(double confidence) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", confidence);
    return text;
}

std::string Fonts(const Candidate& candidate, const char* between) {
    std::string fonts;
    for (const auto& font : candidate.fonts) fonts += (fonts.empty() ? "" : between) + font;
    return fonts;
}

std::string Shown(const std::string& file) { return file == "-" ? "standard input" : file; }

void WriteText(std::ostream& out, const std::string& file, const Detection& detection,
               const std::string& preview) {
    out << Printable(Shown(file)) << ": ";
    if (detection.verdict == Verdict::AnyFont) {
        out << "text of any font (every font of the map reads it alike)\n";
    } else if (detection.readWrong) {
        const ReadWrong& wrong = *detection.readWrong;
        out << wrong.typed << " read as " << wrong.readAs << ", stored as " << wrong.stored << " ("
            << Confidence(wrong.confidence) << ", " << wrong.language << ")\n";
    } else {
        if (detection.verdict == Verdict::CannotTell) {
            out << "cannot tell";
            out << (detection.letters < Detector::kFewestLetters
                        ? " (" + std::to_string(detection.letters) + " letters)"
                        : "");
            if (!detection.candidates.empty()) out << "; perhaps ";
        }
        const std::size_t shown = std::min<std::size_t>(3, detection.candidates.size());
        for (std::size_t i = 0; i < shown; ++i) {
            const Candidate& candidate = detection.candidates[i];
            if (i > 0 && candidate.confidence < 0.005) break;
            out << (i ? "; " : "") << Fonts(candidate, " = ") << " (" << Confidence(candidate.confidence)
                << ", " << candidate.language << ")";
        }
        out << '\n';
    }
    if (!preview.empty()) out << "    " << preview << '\n';
}

void WriteTsv(std::ostream& out, const std::string& file, const Detection& detection) {
    out << Printable(Shown(file)) << '\t';
    const Candidate* best = detection.Best();
    if (detection.verdict == Verdict::AnyFont) {
        out << "*\t1.00\t" << (best ? best->language : "");
    } else if (detection.readWrong) {
        const ReadWrong& wrong = *detection.readWrong;
        out << wrong.typed << " read as " << wrong.readAs << '\t' << Confidence(wrong.confidence) << '\t'
            << wrong.language;
    } else if (detection.verdict == Verdict::CannotTell || !best) {
        out << "?\t" << (best ? Confidence(best->confidence) : "0.00") << '\t';
    } else {
        out << best->fonts.front() << '\t' << Confidence(best->confidence) << '\t' << best->language;
    }
    const std::size_t first = detection.verdict == Verdict::Font && !detection.readWrong ? 1 : 0;
    for (std::size_t i = first; i < detection.candidates.size() && i < first + 3; ++i)
        out << '\t' << detection.candidates[i].fonts.front() << ':'
            << Confidence(detection.candidates[i].confidence);
    out << '\n';
}

}  // namespace

// Each font of a document that holds text, as its own line: "FILE, FONT: ...".
void WriteDocument(std::ostream& out, const std::string& file,
                   const std::vector<DocumentFontFinding>& findings, bool tsv) {
    if (findings.empty()) out << Printable(file) << (tsv ? "\t-\t0.00\t\n" : ": a document without text\n");
    for (const DocumentFontFinding& finding : findings) {
        const std::string where = file + ", " + finding.font;
        if (finding.holds == DocumentFontFinding::Holds::Unicode) {
            out << Printable(where) << (tsv ? "\tUnicode\t1.00\t\n" : ": Unicode text\n");
            continue;
        }
        if (finding.holds == DocumentFontFinding::Holds::Latin) {
            out << Printable(where) << (tsv ? "\tLatin\t1.00\t\n" : ": Latin text, in no legacy font\n");
            continue;
        }
        if (finding.holds == DocumentFontFinding::Holds::Symbols) {
            out << Printable(where) << (tsv ? "\tSymbols\t1.00\t\n" : ": symbols, in no font of the map\n");
            continue;
        }
        // what a conversion would not take from it, shown as what it is: unsure
        Detection shown = finding.detection;
        if (finding.holds == DocumentFontFinding::Holds::CannotTell) shown.verdict = Verdict::CannotTell;
        if (tsv) {
            WriteTsv(out, where, shown);
        } else {
            WriteText(out, where, shown, "");
        }
    }
}

int RunDetectCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultMap,
                     std::ostream& out, std::ostream& err) {
    Messages messages(err, false);
    DetectWords words;
    try {
        words = ParseDetectWords(args);
    } catch (const UsageError& fault) {
        messages.Line("detect: " + std::string(fault.what()) + " (see \"varnex detect --help\")");
        return 2;
    }
    if (words.help) return (out << kUsage).flush() ? 0 : 1;
    std::optional<Detector> detector;
    try {
        detector.emplace(LoadMap(words.map.value_or(defaultMap)));
    } catch (const std::exception& failure) {
        messages.Line(failure.what());
        return 1;
    }
    int result = 0;
    for (const auto& file : words.files) {
        try {
            if (file != "-" && IsDocumentInput(file)) {
                WriteDocument(out, file, DetectDocumentFonts(*detector, file, file), words.format == "tsv");
                continue;
            }
            const std::string sample = ReadSample(file);
            const Detection detection = detector->Detect(sample);
            if (words.format == "tsv") {
                WriteTsv(out, file, detection);
            } else {
                WriteText(out, file, detection, PreviewLine(*detector, sample, detection));
            }
        } catch (const std::exception& failure) {
            messages.Line(failure.what());
            result = 1;
        }
    }
    out.flush();
    return out ? result : 1;
}

}  // namespace varnex::cli
