#include "documents/OdtFonts.h"

#include "documents/XmlWalk.h"

namespace varnex {

namespace {

constexpr int kMaxStyleChain = 64;

}  // namespace

OdtNames::OdtNames(pugi::xml_node root)
    : office(PrefixFor(root, {kOfficeNamespace}, "office:")),
      style(PrefixFor(root, {kStyleNamespace}, "style:")),
      text(PrefixFor(root, {kTextNamespace}, "text:")),
      fo(PrefixFor(root, {kFoNamespace}, "fo:")),
      svg(PrefixFor(root, {kSvgNamespace}, "svg:")) {}

OdtStyles::OdtStyles(XmlPart& styles, XmlPart* content) : styles_(styles), names_(styles.Root()) {
    const pugi::xml_node root = styles.Root();
    ReadFaces(styles);
    if (content) ReadFaces(*content);
    ReadStyles(styles, root.child((names_.office + "styles").c_str()), common_);
    ReadStyles(styles, root.child((names_.office + "automatic-styles").c_str()), automatic_[&styles]);
    if (content) {
        const OdtNames names(content->Root());
        ReadStyles(*content, content->Root().child((names.office + "automatic-styles").c_str()),
                   automatic_[content]);
    }
    const std::string defaultStyle = names_.style + "default-style", family = names_.style + "family";
    for (pugi::xml_node node :
         root.child((names_.office + "styles").c_str()).children(defaultStyle.c_str())) {
        if (std::string_view(node.attribute(family.c_str()).value()) == "paragraph") {
            defaults_ = FromProperties(node.child((names_.style + "text-properties").c_str()), styles);
        }
    }
}

void OdtStyles::ReadFaces(XmlPart& part) {
    const OdtNames names(part.Root());
    const std::string face = names.style + "font-face", name = names.style + "name",
                      family = names.svg + "font-family";
    for (pugi::xml_node node :
         part.Root().child((names.office + "font-face-decls").c_str()).children(face.c_str())) {
        faces_.emplace(node.attribute(name.c_str()).value(),
                       UnquotedFamily(node.attribute(family.c_str()).value()));
    }
}

void OdtStyles::ReadStyles(XmlPart& part, pugi::xml_node container, std::map<Key, pugi::xml_node>& into) {
    const OdtNames names(part.Root());
    const std::string styleName = names.style + "style", family = names.style + "family",
                      name = names.style + "name";
    for (pugi::xml_node node : container.children(styleName.c_str())) {
        into.emplace(Key{node.attribute(family.c_str()).value(), node.attribute(name.c_str()).value()}, node);
    }
}

OdtFonts OdtStyles::FromProperties(pugi::xml_node properties, XmlPart& part) const {
    static const char* kFaceAttributes[kScriptCount] = {"font-name", "font-name-asian", "font-name-complex"};
    const OdtNames names(part.Root());
    const std::string families[kScriptCount] = {names.fo + "font-family", names.style + "font-family-asian",
                                                names.style + "font-family-complex"};
    OdtFonts fonts{};
    if (!properties) return fonts;
    for (int script = 0; script < kScriptCount; ++script) {
        if (const auto face = properties.attribute((names.style + kFaceAttributes[script]).c_str())) {
            const auto found = faces_.find(std::string_view(face.value()));
            fonts[script] = {found != faces_.end() ? found->second : face.value(), face, &part, false};
        } else if (const auto family = properties.attribute(families[script].c_str())) {
            fonts[script] = {UnquotedFamily(family.value()), family, &part, true};
        }
    }
    return fonts;
}

OdtFonts OdtStyles::Chain(XmlPart& part, std::string_view family, std::string_view name) {
    OdtFonts fonts{};
    std::string current(name);
    const auto& automatic = automatic_[&part];
    bool first = true;
    for (int step = 0; step < kMaxStyleChain && !current.empty(); ++step) {
        const Key key{std::string(family), current};
        auto found = first ? automatic.find(key) : automatic.end();
        XmlPart* owner = &part;
        if (found == automatic.end()) {
            found = common_.find(key);
            owner = &styles_;
            if (found == common_.end()) break;
        }
        first = false;
        const OdtNames names(owner->Root());
        const OdtFonts own =
            FromProperties(found->second.child((names.style + "text-properties").c_str()), *owner);
        for (int script = 0; script < kScriptCount; ++script) {
            if (!fonts[script].Set()) fonts[script] = own[script];
        }
        current = found->second.attribute((names.style + "parent-style-name").c_str()).value();
    }
    return fonts;
}

const OdtFonts& OdtStyles::StyleFonts(XmlPart& part, std::string_view family, std::string_view name) {
    const auto key = std::pair{&part, Key{std::string(family), std::string(name)}};
    const auto found = resolved_.find(key);
    if (found != resolved_.end()) return found->second;
    return resolved_.emplace(key, Chain(part, family, name)).first->second;
}

}  // namespace varnex
