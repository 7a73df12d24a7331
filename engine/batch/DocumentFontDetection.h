#pragma once

#include <string>
#include <vector>

#include "detect/Detection.h"
#include "detect/Detector.h"

namespace varnex {

// What the text of one font of a document is in.
struct DocumentFontFinding {
    enum class Holds {
        Unicode,     // real Unicode characters: no legacy font's codes
        AnyFont,     // ASCII alone
        Latin,       // Latin letters, a few of them beyond ASCII: no Cyrillic legacy font's text
        Symbols,     // a symbol font's characters (Wingdings) that read as no map font
        CannotTell,  // too little or too unsure
        MapFont,     // surely the best candidate's font
    };
    std::string font;  // the document's name of it
    Holds holds = Holds::CannotTell;
    Detection detection;  // of its text as codes; empty for Unicode text
};

// Each font of the document at `path` that holds run text, with what its text reads as:
// its characters become codes through the same bridge as a document's conversion (Windows-1252,
// or U+F020..U+F0FF for a symbol font), and the detector ranks the map's fonts for them, from
// at most the first 64 KiB. A font of `legacyFonts` (names matched as -f matches them) is
// taken to hold a legacy font's text: it is the best candidate's whenever the detector tells
// one. Throws Failure for a package that cannot be read.
std::vector<DocumentFontFinding> DetectDocumentFonts(const Detector& detector, const std::string& path,
                                                     const std::string& shownName,
                                                     const std::vector<std::string>& legacyFonts = {});

}  // namespace varnex
