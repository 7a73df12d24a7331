#include "documents/XmlWalk.h"

namespace varnex {

std::string PrefixFor(pugi::xml_node root, std::initializer_list<std::string_view> namespaces,
                      const std::string& fallback) {
    for (pugi::xml_attribute attribute : root.attributes()) {
        const std::string_view name = attribute.name();
        if (!name.starts_with("xmlns")) continue;
        for (const std::string_view uri : namespaces) {
            if (uri != attribute.value()) continue;
            if (name == "xmlns") return "";
            if (name.size() > 6 && name[5] == ':') return std::string(name.substr(6)) + ":";
        }
    }
    return fallback;
}

pugi::xml_node TextChild(pugi::xml_node element) {
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) return child;
    }
    return {};
}

std::string UnquotedFamily(std::string_view family) {
    if (family.size() >= 2 && (family.front() == '\'' || family.front() == '"') &&
        family.back() == family.front()) {
        family = family.substr(1, family.size() - 2);
    }
    return std::string(family);
}

}  // namespace varnex
