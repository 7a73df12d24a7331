#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "documents/DocumentParts.h"
#include "documents/DocumentTotals.h"
#include "documents/ParagraphText.h"
#include "documents/SourceFontNames.h"

namespace varnex {

// What the converters of both document formats share.
struct ConversionSetup {
    DocumentParts& parts;
    CodeRule rule;
    DocumentTotals& totals;
    SourceFontNames& names;
    std::string targetName;  // the font name written for converted text
    // Told how far into a part the conversion is (bytes of its XML).
    std::function<void(const XmlPart&, std::size_t)> progress;
    // When set, nothing is converted: each piece of run text is given with the name of the
    // font that holds its letters (the high-ANSI or Western font), for finding what font
    // that text is in.
    std::function<void(std::string_view font, std::string_view text)> collect = nullptr;
};

// Every 2^kProgressStep paragraphs the conversion reports how far it is.
inline constexpr int kProgressStep = 8;

inline void ReportProgress(ConversionSetup& setup, const XmlPart& part, pugi::xml_node at) {
    const std::ptrdiff_t offset = at.offset_debug();
    if (setup.progress && offset >= 0) setup.progress(part, static_cast<std::size_t>(offset));
}

void ConvertDocx(ConversionSetup& setup);
void ConvertOdt(ConversionSetup& setup);

}  // namespace varnex
