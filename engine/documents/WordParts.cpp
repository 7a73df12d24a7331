#include "documents/WordParts.h"

#include <algorithm>

#include "documents/PackageRelations.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

bool HoldsText(const std::string& kind) {
    return kind == "header" || kind == "footer" || kind == "footnotes" || kind == "endnotes" ||
           kind == "comments";
}

bool HoldsDrawingText(const std::string& kind) {
    return kind == "diagramData" || kind == "diagramDrawing" || kind == "chart";
}

bool IsUsualDrawingPart(std::string file) {
    file = UpperCase(file);
    return file.ends_with(".XML") &&
           (file.starts_with("DIAGRAMS/DATA") || file.starts_with("DIAGRAMS/DRAWING") ||
            file.starts_with("CHARTS/CHART"));
}

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

bool IsUsualTextPart(std::string file) {
    file = UpperCase(file);
    if (!file.ends_with(".XML")) return false;
    return file == "FOOTNOTES.XML" || file == "ENDNOTES.XML" || file == "COMMENTS.XML" ||
           file.starts_with("HEADER") || file.starts_with("FOOTER");
}

// A main part without relationships: its parts by the names Word gives them, in its folder.
void FindByName(PackageReader& package, WordParts& found) {
    const std::size_t slash = found.main.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : found.main.substr(0, slash + 1);
    for (const PackageEntry& entry : package.Entries()) {
        if (entry.shadowed || !entry.name.starts_with(folder)) continue;
        const std::string file = entry.name.substr(folder.size());
        if (file.find('/') == std::string::npos && IsUsualTextPart(file)) AddOnce(found.text, entry.name);
        if (IsUsualDrawingPart(file) && file.find('/') == file.rfind('/'))
            AddOnce(found.drawings, entry.name);
        if (found.theme.empty() && file.starts_with("theme/") && file.ends_with(".xml"))
            found.theme = entry.name;
    }
    if (package.Find(folder + "styles.xml")) found.styles = folder + "styles.xml";
    if (package.Find(folder + "fontTable.xml")) found.fontTable = folder + "fontTable.xml";
}

}  // namespace

std::string WordMainPart(PackageReader& package) {
    const auto main = OfficeDocumentOf(package);
    return main ? main->name : "word/document.xml";
}

WordParts FindWordParts(DocumentParts& parts, const std::string& main, const std::string& fallbackTheme) {
    WordParts found;
    found.main = main;
    found.text.push_back(main);
    const std::vector<Relationship> relationships = RelationshipsOf(parts, main);
    if (relationships.empty()) FindByName(parts.Package(), found);
    for (const Relationship& relationship : relationships) {
        if (!parts.Package().Find(relationship.target)) continue;  // a dangling relationship
        if (HoldsText(relationship.kind)) AddOnce(found.text, relationship.target);
        if (HoldsDrawingText(relationship.kind)) AddOnce(found.drawings, relationship.target);
        if (relationship.kind == "styles") found.styles = relationship.target;
        if (relationship.kind == "theme") found.theme = relationship.target;
        if (relationship.kind == "fontTable") found.fontTable = relationship.target;
        if (relationship.kind == "glossaryDocument") found.glossary = relationship.target;
    }
    if (found.theme.empty()) found.theme = fallbackTheme;
    return found;
}

}  // namespace varnex
