#pragma once

#include <array>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "documents/XmlPart.h"

namespace varnex {

// A font of one slot of a run, and the attribute that set it (the one to rename).
struct FontSetting {
    std::string_view name;
    pugi::xml_attribute provider;
    XmlPart* part = nullptr;
    // Beside a theme font, the plain name at the same level, which Word keeps as a fallback.
    pugi::xml_attribute fallback;
    XmlPart* fallbackPart = nullptr;

    bool Set() const { return part != nullptr; }
};

enum DocxSlot { kAscii, kHighAnsi, kEastAsia, kComplex, kSlotCount };
using SlotFonts = std::array<FontSetting, kSlotCount>;

// The effective fonts of runs in a word document: the run's own w:rFonts, its character style,
// its paragraph style (or the default paragraph style), the style of the table it is in, and
// their w:basedOn parents, then the document defaults; a theme font (w:asciiTheme and the like) is looked up
// in the theme part.
class DocxFonts {
public:
    // styles and theme may be null.
    DocxFonts(XmlPart* styles, XmlPart* theme);

    SlotFonts Resolve(pugi::xml_node runFonts, XmlPart& runPart, std::string_view runStyle,
                      std::string_view paragraphStyle, std::string_view tableStyle = {});
    const std::string& DefaultParagraphStyle() const { return defaultParagraphStyle_; }

private:
    FontSetting FromElement(pugi::xml_node rFonts, XmlPart& part, int slot) const;
    const SlotFonts& StyleFonts(std::string_view id);
    SlotFonts ChainFonts(std::string_view id);
    void ReadTheme(XmlPart& theme);

    XmlPart* styles_;
    std::string w_;  // the styles part's prefix
    std::unordered_map<std::string, pugi::xml_node> byId_;
    std::unordered_map<std::string, SlotFonts> resolved_;
    std::string defaultParagraphStyle_;
    SlotFonts defaults_{};
    // major and minor: latin, ea, cs typeface attributes
    std::array<std::array<pugi::xml_attribute, 3>, 2> themeFonts_{};
    XmlPart* theme_ = nullptr;
};

// The WordprocessingML namespaces (transitional and strict).
inline constexpr std::string_view kWordNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr std::string_view kStrictWordNamespace = "http://purl.oclc.org/ooxml/wordprocessingml/main";
// DrawingML's (themes, text of shapes, charts and diagrams).
inline constexpr std::string_view kDrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr std::string_view kStrictDrawingNamespace = "http://purl.oclc.org/ooxml/drawingml/main";

}  // namespace varnex
