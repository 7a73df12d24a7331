#pragma once

#include <array>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>

#include "documents/XmlPart.h"

namespace varnex {

// A font of one script of OpenDocument text (western, asian, complex) and the attribute that
// set it: style:font-name, naming a font face, or fo:font-family, naming the family itself.
struct OdtFont {
    std::string name;  // the family
    pugi::xml_attribute provider;
    XmlPart* part = nullptr;
    bool family = false;  // set by a family attribute

    bool Set() const { return part != nullptr; }
};

enum OdtScript { kWestern, kAsian, kComplex, kScriptCount };
using OdtFonts = std::array<OdtFont, kScriptCount>;

// The OpenDocument namespaces the converter reads.
struct OdtNames {
    std::string office, style, text, fo, svg;
    explicit OdtNames(pugi::xml_node root);
};

// The effective fonts of OpenDocument text: a style's text properties, then its parents
// (style:parent-style-name), looked up among the automatic styles of the part that uses them
// and then the common styles; the paragraph family's default style last.
class OdtStyles {
public:
    OdtStyles(XmlPart& styles, XmlPart* content);

    // The fonts of a style of that family used in `part`, with its parents; unset where none.
    const OdtFonts& StyleFonts(XmlPart& part, std::string_view family, std::string_view name);
    const OdtFonts& Defaults() const { return defaults_; }

private:
    using Key = std::pair<std::string, std::string>;  // family, name
    void ReadStyles(XmlPart& part, pugi::xml_node container, std::map<Key, pugi::xml_node>& into);
    void ReadFaces(XmlPart& part);
    OdtFonts FromProperties(pugi::xml_node properties, XmlPart& part) const;
    OdtFonts Chain(XmlPart& part, std::string_view family, std::string_view name);

    XmlPart& styles_;
    OdtNames names_;
    std::map<Key, pugi::xml_node> common_;
    std::map<XmlPart*, std::map<Key, pugi::xml_node>> automatic_;
    std::map<std::string, std::string, std::less<>> faces_;  // face name -> family
    std::map<std::pair<XmlPart*, Key>, OdtFonts> resolved_;
    OdtFonts defaults_{};
};

inline constexpr std::string_view kOfficeNamespace = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
inline constexpr std::string_view kStyleNamespace = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
inline constexpr std::string_view kTextNamespace = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
inline constexpr std::string_view kFoNamespace =
    "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
inline constexpr std::string_view kSvgNamespace = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";

}  // namespace varnex
