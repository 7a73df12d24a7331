#include "batch/DocumentFontDetection.h"

#include "detect/Sample.h"
#include "documents/DocumentConversion.h"

namespace varnex {

namespace {

// A font's text converts from a detected font only when the detector is this sure of it: a
// wrong guess would rewrite text that was right.
constexpr double kSureForDocuments = 0.9;

// Latin text with accents (French, German, in Arial) bridges to codes too, and a Cyrillic
// font reads its accented letters as Cyrillic ones: "cafй". Text of a Cyrillic legacy font has
// most of its letters among the codes from 128 up; Latin text has few there.
bool MostlyHighCodes(const std::string& codes) {
    std::size_t high = 0, latin = 0;
    for (const char code : codes) {
        const auto byte = static_cast<unsigned char>(code);
        high += byte >= 0x80;
        latin += (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
    }
    return high > latin;
}

DocumentFontFinding::Holds HoldsOf(const std::string& codes, const Detection& detection) {
    using Holds = DocumentFontFinding::Holds;
    if (detection.verdict == Verdict::AnyFont) return Holds::AnyFont;
    const Candidate* best = detection.Best();
    if (!MostlyHighCodes(codes)) return Holds::Latin;
    if (detection.verdict != Verdict::Font || !best || best->confidence < kSureForDocuments ||
        best->language == "English")
        return Holds::CannotTell;
    return Holds::MapFont;
}

}  // namespace

std::vector<DocumentFontFinding> DetectDocumentFonts(const Detector& detector, const std::string& path,
                                                     const std::string& shownName) {
    std::vector<DocumentFontFinding> findings;
    for (const DocumentFontText& text : ReadDocumentFontTexts(path, shownName, kSampleSize)) {
        DocumentFontFinding finding{text.font};
        // a character here and there without a code (№, an arrow) is typed in legacy text too
        if (text.withoutCode * 10 > text.characters) {
            finding.holds = DocumentFontFinding::Holds::Unicode;
        } else {
            finding.detection = detector.Detect(text.codes);
            finding.holds = HoldsOf(text.codes, finding.detection);
        }
        findings.push_back(std::move(finding));
    }
    return findings;
}

}  // namespace varnex
