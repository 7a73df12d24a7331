#include "documents/XmlPart.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "Failure.h"
#include "text/Utf8Text.h"

namespace varnex {

namespace {

// Whitespace-only text is a node too (a run's " "), and line ends and attribute values stay as
// written; only a DOCTYPE is parsed, so that it can be refused.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_comments |
                                   pugi::parse_pi | pugi::parse_declaration | pugi::parse_ws_pcdata |
                                   pugi::parse_doctype;

bool IsKnownReference(std::string_view rest) {
    for (const char* name : {"amp;", "lt;", "gt;", "quot;", "apos;"}) {
        if (rest.starts_with(name)) return true;
    }
    if (!rest.starts_with('#')) return false;
    std::size_t i = 1;
    const bool hex = rest.size() > 1 && rest[1] == 'x';
    if (hex) ++i;
    const std::size_t first = i;
    while (i < rest.size() && (std::isdigit(static_cast<unsigned char>(rest[i])) ||
                               (hex && std::isxdigit(static_cast<unsigned char>(rest[i])))))
        ++i;
    return i > first && i < rest.size() && rest[i] == ';';
}

// The next '&' of markup or text: comments, CDATA sections and processing instructions may hold
// any '&'. npos when there is none.
std::size_t NextAmpersand(std::string_view bytes, std::size_t from) {
    static constexpr std::pair<std::string_view, std::string_view> kVerbatim[] = {
        {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
    while ((from = bytes.find_first_of("&<", from)) != std::string_view::npos) {
        if (bytes[from] == '&') return from;
        std::size_t next = from + 1;
        for (const auto& [open, close] : kVerbatim) {
            if (bytes.substr(from).starts_with(open)) {
                const std::size_t end = bytes.find(close, from + open.size());
                next = end == std::string_view::npos ? bytes.size() : end + close.size();
                break;
            }
        }
        from = next;
    }
    return std::string_view::npos;
}

// What makes the part unsafe or foreign before it is parsed, or "".
std::string RefusalOf(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
        FirstInvalidUtf8(bytes) != std::string_view::npos) {
        return "it is not UTF-8";
    }
    if (bytes.find("<!DOCTYPE") != std::string_view::npos ||
        bytes.find("<!ENTITY") != std::string_view::npos) {
        return "it holds a DTD, which is never read";
    }
    for (std::size_t at = NextAmpersand(bytes, 0); at != std::string_view::npos;
         at = NextAmpersand(bytes, at + 1)) {
        if (!IsKnownReference(bytes.substr(at + 1, 16))) {
            return "it refers to an entity at byte " + std::to_string(at) + ", which is never expanded";
        }
    }
    return "";
}

int DepthOf(pugi::xml_node root) {
    int depth = 0, deepest = 0;
    pugi::xml_node node = root;
    while (node) {
        if (node.first_child()) {
            node = node.first_child();
            deepest = std::max(deepest, ++depth);
            if (deepest > XmlPart::kMaxXmlDepth) return deepest;
            continue;
        }
        while (node && node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (!node || node == root) break;
        node = node.next_sibling();
    }
    return deepest;
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, std::size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

private:
    std::string& out_;
};

}  // namespace

XmlPart::XmlPart(std::string name, std::string bytes, const std::string& shownPackage)
    : name_(std::move(name)), bytes_(std::move(bytes)), size_(bytes_.size()) {
    const std::string where = shownPackage + ": damaged package: the part " + name_;
    if (const std::string refusal = RefusalOf(bytes_); !refusal.empty()) {
        throw Failure(kBadFileFormat, where + " is refused: " + refusal);
    }
    const pugi::xml_parse_result result =
        document_.load_buffer_inplace(bytes_.data(), bytes_.size(), kParseOptions, pugi::encoding_utf8);
    if (!result) {
        throw Failure(kBadFileFormat, where + " is not well-formed XML (" + result.description() +
                                          " at byte " + std::to_string(result.offset) + ")");
    }
    for (pugi::xml_node child : document_.children()) {
        if (child.type() == pugi::node_doctype) throw Failure(kBadFileFormat, where + " holds a DTD");
    }
    if (!document_.document_element()) throw Failure(kBadFileFormat, where + " has no root element");
    if (DepthOf(document_) > kMaxXmlDepth) {
        throw Failure(kBadFileFormat, where + " nests elements deeper than " + std::to_string(kMaxXmlDepth));
    }
}

std::string XmlPart::Serialized() const {
    std::string out;
    out.reserve(size_ + size_ / 8);
    StringWriter writer(out);
    document_.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out;
}

}  // namespace varnex
