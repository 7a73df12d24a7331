#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varnex {

// The fonts of a conversion as a document names them.
struct DocumentFonts {
    std::vector<std::string> mapFonts;  // every font of the map, for matching
    std::string source;                 // the map's own names
    std::string target;
    std::vector<std::string> sourceNames;  // --doc-font: document fonts that hold source-font text
    std::string targetName;                // --target-doc-font; empty: the target's own name

    const std::string& WrittenTarget() const { return targetName.empty() ? target : targetName; }
};

// Decides which font names of a document are the source font: a name that finds the source
// among the map's fonts as a typed -f name does (exactly, else ignoring case, blanks and
// punctuation), or that matches one of the --doc-font names the same way.
class SourceFontNames {
public:
    explicit SourceFontNames(const DocumentFonts& fonts) : fonts_(fonts) {}
    bool IsSource(std::string_view documentFont);

private:
    bool Decide(std::string_view documentFont) const;

    const DocumentFonts& fonts_;
    std::unordered_map<std::string, bool> decided_;
};

}  // namespace varnex
