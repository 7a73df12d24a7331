#include "documents/PackageRelations.h"

#include <cctype>

#include "documents/XmlWalk.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

constexpr std::string_view kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kContentTypesNamespace =
    "http://schemas.openxmlformats.org/package/2006/content-types";
// The largest relationships or content types part read to recognise a package.
constexpr std::uint64_t kLongestIndexPart = 4u << 20;

std::string RelationshipsPartOf(const std::string& sourcePart) {
    const std::size_t slash = sourcePart.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? sourcePart : sourcePart.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out.push_back(static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string_view KindOf(std::string_view type) {
    const std::size_t slash = type.rfind('/');
    return slash == std::string_view::npos ? type : type.substr(slash + 1);
}

std::vector<Relationship> RelationshipsIn(pugi::xml_node root, const std::string& sourcePart) {
    const std::string prefix = PrefixFor(root, {kRelationshipsNamespace}, "");
    const std::string relationship = prefix + "Relationship";
    std::vector<Relationship> found;
    for (pugi::xml_node node : root.children(relationship.c_str())) {
        if (std::string_view(node.attribute("TargetMode").value()) == "External") continue;
        std::string target = ResolvedTarget(sourcePart, node.attribute("Target").value());
        if (!target.empty()) found.push_back({std::string(KindOf(node.attribute("Type").value())), target});
    }
    return found;
}

std::string ContentTypeOf(PackageReader& package, const std::string& part) {
    const auto index = package.Find("[Content_Types].xml");
    if (!index || package.Entries()[*index].size > kLongestIndexPart) return "";
    XmlPart types("[Content_Types].xml", package.Read(*index), package.ShownName());
    const std::string prefix = PrefixFor(types.Root(), {kContentTypesNamespace}, "");
    const std::string overrides = prefix + "Override";  // the loop keeps a pointer to it
    for (pugi::xml_node node : types.Root().children(overrides.c_str())) {
        if (SameIgnoringCase(ResolvedTarget("", node.attribute("PartName").value()), part))
            return node.attribute("ContentType").value();
    }
    return "";
}

}  // namespace

std::string ResolvedTarget(const std::string& sourcePart, std::string_view target) {
    const std::size_t end = target.find_first_of("#?");
    std::string path = PercentDecoded(target.substr(0, end));
    if (!path.starts_with('/')) {
        const std::size_t slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) + path;
    }
    std::vector<std::string> segments;
    std::size_t from = 0;
    while (from <= path.size()) {
        const std::size_t next = std::min(path.find('/', from), path.size());
        const std::string segment = path.substr(from, next - from);
        from = next + 1;
        if (segment.empty() || segment == ".") continue;
        if (segment != "..") {
            segments.push_back(segment);
        } else if (segments.empty()) {
            return "";
        } else {
            segments.pop_back();
        }
    }
    std::string name;
    for (const std::string& segment : segments) name += (name.empty() ? "" : "/") + segment;
    return name;
}

std::vector<Relationship> RelationshipsOf(DocumentParts& parts, const std::string& sourcePart) {
    XmlPart* relationships = parts.Find(sourcePart.empty() ? "_rels/.rels" : RelationshipsPartOf(sourcePart));
    return relationships ? RelationshipsIn(relationships->Root(), sourcePart) : std::vector<Relationship>{};
}

std::optional<MainPart> OfficeDocumentOf(PackageReader& package) {
    const auto index = package.Find("_rels/.rels");
    if (!index || package.Entries()[*index].size > kLongestIndexPart) return std::nullopt;
    XmlPart relationships("_rels/.rels", package.Read(*index), package.ShownName());
    for (const Relationship& relationship : RelationshipsIn(relationships.Root(), "")) {
        if (relationship.kind != "officeDocument") continue;
        return MainPart{relationship.target, ContentTypeOf(package, relationship.target)};
    }
    return std::nullopt;
}

}  // namespace varnex
