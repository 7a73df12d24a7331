#pragma once

#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "documents/PackageReader.h"
#include "documents/XmlPart.h"

namespace varnex {

// The XML parts of a package that a conversion reads, each parsed once, and the font
// attributes to be given the target's name once every part is converted.
class DocumentParts {
public:
    explicit DocumentParts(PackageReader& package) : package_(package) {}

    // The part of that name (letter case aside), parsed; nullptr when the package has none.
    XmlPart* Find(const std::string& name);
    // The same, and a Failure ("damaged package") when it is missing.
    XmlPart& Require(const std::string& name);
    bool Changed(const std::string& entryName) const;
    // A changed part written out; the parsed part is let go.
    std::string TakeSerialized(const std::string& entryName);

    // A font attribute that names the source font for converted text, and its part. A family
    // attribute (OpenDocument's fo:font-family) gets the name quoted when it holds a blank.
    void Rename(pugi::xml_attribute attribute, XmlPart& part, bool family = false);
    bool AnyRenamed() const { return !renames_.empty(); }
    void ApplyRenames(const std::string& name);

    PackageReader& Package() { return package_; }

private:
    PackageReader& package_;
    std::map<std::string, std::unique_ptr<XmlPart>> parts_;  // by entry name
    struct Renaming {
        XmlPart* part;
        bool family;
    };
    std::map<pugi::xml_attribute_struct*, Renaming> renames_;
};

}  // namespace varnex
