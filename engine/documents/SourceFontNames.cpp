#include "documents/SourceFontNames.h"

#include "map/FontNameMatch.h"

namespace varnex {

bool SourceFontNames::IsSource(std::string_view documentFont) {
    if (documentFont.empty()) return false;
    const std::string key(documentFont);
    const auto found = decided_.find(key);
    if (found != decided_.end()) return found->second;
    const bool source = Decide(documentFont);
    decided_.emplace(key, source);
    return source;
}

bool SourceFontNames::Decide(std::string_view documentFont) const {
    // without a source font (each input's own is detected), no name may match its empty name
    if (!fonts_.source.empty() && MatchFontName(fonts_.mapFonts, documentFont).font == fonts_.source)
        return true;
    for (const auto& name : fonts_.sourceNames) {
        if (!MatchFontName({name}, documentFont).font.empty()) return true;
    }
    return false;
}

}  // namespace varnex
