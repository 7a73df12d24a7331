#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/DocumentParts.h"

namespace varnex {

// One relationship of a part to another part of the package (external targets left out).
struct Relationship {
    std::string kind;    // the type's last word, the same in transitional and strict OOXML: "header"
    std::string target;  // the entry name of the part it leads to
};

// The relationships of `sourcePart` from its relationships part (folder/_rels/name.rels), or of
// the package itself for "". Empty when there is none. Throws Failure for a damaged part.
std::vector<Relationship> RelationshipsOf(DocumentParts& parts, const std::string& sourcePart);

// A relationship's target as an entry name, seen from `sourcePart`; empty when it leaves the
// package.
std::string ResolvedTarget(const std::string& sourcePart, std::string_view target);

// The main part of an Office Open XML package (the package's officeDocument relationship),
// and its content type as [Content_Types].xml gives it ("" when it gives none). Empty when the
// package has no such relationship.
struct MainPart {
    std::string name;
    std::string contentType;
};
std::optional<MainPart> OfficeDocumentOf(PackageReader& package);

}  // namespace varnex
