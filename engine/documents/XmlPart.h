#pragma once

#include <pugixml.hpp>
#include <string>

namespace varnex {

// One XML part of a package, parsed in place from its inflated bytes. Refused (Failure naming
// the package and the part) when it is not UTF-8, holds a DTD or an entity reference other than
// XML's own five and character references (never expanded), is not well formed, or nests
// deeper than kMaxXmlDepth.
class XmlPart {
public:
    static constexpr int kMaxXmlDepth = 400;

    XmlPart(std::string name, std::string bytes, const std::string& shownPackage);
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    const std::string& Name() const { return name_; }
    pugi::xml_node Root() const { return document_.document_element(); }
    pugi::xml_document& Document() { return document_; }
    std::size_t Size() const { return size_; }

    bool Changed() const { return changed_; }
    void MarkChanged() { changed_ = true; }
    // The part written out again: every node as parsed, the changed ones as they are now.
    std::string Serialized() const;

private:
    std::string name_;
    std::string bytes_;  // the parse buffer: node names and values point into it
    std::size_t size_ = 0;
    pugi::xml_document document_;
    bool changed_ = false;
};

}  // namespace varnex
