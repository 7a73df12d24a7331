#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace varnex {

// The prefix ("w:", or "" for the default namespace) that `root` binds to one of the namespaces
// named, or `fallback` when it binds none of them.
std::string PrefixFor(pugi::xml_node root, std::initializer_list<std::string_view> namespaces,
                      const std::string& fallback);

// Every element below `top` in document order, without recursion (parts may nest deeply).
// `visit` returns false to skip the element's children.
template <class Visit>
void WalkElements(pugi::xml_node top, Visit visit) {
    pugi::xml_node node = top.first_child();
    while (node) {
        const bool descend = node.type() == pugi::node_element && visit(node);
        if (descend && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != top && !node.next_sibling()) node = node.parent();
        if (node == top) return;
        node = node.next_sibling();
    }
}

// The text of an element: its first text or CDATA child, or an empty node.
pugi::xml_node TextChild(pugi::xml_node element);

// A font family name as OpenDocument writes it, without its quotes.
std::string UnquotedFamily(std::string_view family);

}  // namespace varnex
