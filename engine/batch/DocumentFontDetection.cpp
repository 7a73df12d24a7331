#include "batch/DocumentFontDetection.h"

#include "detect/Sample.h"
#include "documents/DocumentConversion.h"
#include "map/FontNameMatch.h"

namespace varnex {

namespace {

// A font's text converts from a detected font only when the detector is this sure of it: a
// wrong guess would rewrite text that was right.
constexpr double kSureForDocuments = 0.9;

bool IsAsciiLetter(unsigned char code) {
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

// Latin text with accents (French, German, in Arial) bridges to codes too, and a Cyrillic
// font reads its accented letters as Cyrillic ones: "cafй". In Cyrillic text the codes from
// 128 up make whole words; in Latin text they sit one by one between ASCII letters.
bool LooksLatin(const std::string& codes) {
    std::size_t high = 0, amongLatin = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (static_cast<unsigned char>(codes[i]) < 0x80) continue;
        ++high;
        const bool before = i > 0 && IsAsciiLetter(static_cast<unsigned char>(codes[i - 1]));
        const bool after = i + 1 < codes.size() && IsAsciiLetter(static_cast<unsigned char>(codes[i + 1]));
        amongLatin += before || after;
    }
    return high == 0 || amongLatin * 2 > high;
}

DocumentFontFinding::Holds HoldsOf(const DocumentFontText& text, const Detection& detection, bool named) {
    using Holds = DocumentFontFinding::Holds;
    if (detection.verdict == Verdict::AnyFont) return Holds::AnyFont;
    const Candidate* best = detection.Best();
    const bool told = detection.verdict == Verdict::Font && best;
    if (named) return told ? Holds::MapFont : Holds::CannotTell;  // the caller says it is legacy text
    if (LooksLatin(text.codes)) return Holds::Latin;
    if (told && best->confidence >= kSureForDocuments && best->language != "English") return Holds::MapFont;
    return text.symbols == text.characters ? Holds::Symbols : Holds::CannotTell;
}

}  // namespace

std::vector<DocumentFontFinding> DetectDocumentFonts(const Detector& detector, const std::string& path,
                                                     const std::string& shownName,
                                                     const std::vector<std::string>& legacyFonts) {
    std::vector<DocumentFontFinding> findings;
    for (const DocumentFontText& text : ReadDocumentFontTexts(path, shownName, kSampleSize)) {
        DocumentFontFinding finding;
        finding.font = text.font;
        const bool named = !MatchFontName(legacyFonts, text.font).font.empty();
        // a character here and there without a code (№, an arrow) is typed in legacy text too
        if (text.withoutCode * 10 > text.characters) {
            finding.holds = DocumentFontFinding::Holds::Unicode;
        } else {
            finding.detection = detector.Detect(text.codes);
            finding.holds = HoldsOf(text, finding.detection, named);
        }
        findings.push_back(std::move(finding));
    }
    return findings;
}

}  // namespace varnex
