// The OpenDocument text converter: paragraphs and headings of the body, tables, frames, notes
// and annotations (content.xml), and of the headers and footers (styles.xml), span by span.
#include <string_view>

#include "Failure.h"
#include "documents/ConversionSetup.h"
#include "documents/DocumentConversion.h"
#include "documents/OdtFonts.h"
#include "documents/XmlWalk.h"

namespace varnex {

namespace {

void Fill(OdtFonts& fonts, const OdtFonts& below) {
    for (int script = 0; script < kScriptCount; ++script) {
        if (!fonts[script].Set()) fonts[script] = below[script];
    }
}

class OdtPart {
public:
    OdtPart(XmlPart& part, OdtStyles& styles, ConversionSetup& setup)
        : part_(part),
          styles_(styles),
          setup_(setup),
          names_(part.Root()),
          text_(
              setup.rule, setup.totals,
              [](pugi::xml_node element, const std::string& text) {
                  pugi::xml_node parent = element.parent();
                  if (!text.empty())
                      parent.insert_child_before(pugi::node_pcdata, element).set_value(text.c_str());
                  parent.remove_child(element);
              },
              false),
          p_(names_.text + "p"),
          h_(names_.text + "h"),
          span_(names_.text + "span"),
          link_(names_.text + "a"),
          meta_(names_.text + "meta"),
          spaces_(names_.text + "s"),
          tab_(names_.text + "tab"),
          styleName_(names_.text + "style-name") {}

    void Convert() {
        std::uint64_t paragraph = 0;
        WalkElements(part_.Document(), [&](pugi::xml_node node) {
            if (p_ != node.name() && h_ != node.name()) return true;
            ConvertParagraph(node, ++paragraph);
            if ((paragraph & ((1u << kProgressStep) - 1)) == 0) ReportProgress(setup_, part_, node);
            return true;
        });
    }

private:
    void ConvertParagraph(pugi::xml_node paragraph, std::uint64_t number) {
        OdtFonts fonts =
            styles_.StyleFonts(part_, "paragraph", paragraph.attribute(styleName_.c_str()).value());
        Fill(fonts, styles_.Defaults());
        text_.Begin(where_, number);
        ConvertContent(paragraph, fonts, 0);
        if (text_.Finish()) part_.MarkChanged();
    }

    SourceSlots SlotsOf(const OdtFonts& fonts) {
        SourceSlots slots;
        const auto source = [&](int script) {
            return fonts[script].Set() && setup_.names.IsSource(fonts[script].name);
        };
        slots.ascii = slots.highAnsi = source(kWestern);
        slots.eastAsian = source(kAsian);
        slots.complex = source(kComplex);
        return slots;
    }

    void Rename(const OdtFonts& fonts) {
        for (const OdtFont& font : fonts) {
            if (font.Set() && setup_.names.IsSource(font.name))
                setup_.parts.Rename(font.provider, *font.part, font.family);
        }
    }

    // Text, spaces and tabs of an element and of the spans in it; the depth is bounded by the part's.
    void ConvertContent(pugi::xml_node element, const OdtFonts& fonts, int depth) {
        const bool collect = static_cast<bool>(setup_.collect);
        const SourceSlots slots = collect ? SourceSlots{} : SlotsOf(fonts);
        bool text = false;
        for (pugi::xml_node child : element.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                if (collect) {
                    if (fonts[kWestern].Set()) setup_.collect(fonts[kWestern].name, child.value());
                    continue;
                }
                text_.AddText(child, slots);
                text = true;
            } else if (collect && (spaces_ == child.name() || tab_ == child.name())) {
                continue;
            } else if (spaces_ == child.name()) {
                const long count = child.attribute((names_.text + "c").c_str()).as_int(1);
                text_.AddSpacing(child, std::string(count > 0 && count < 100000 ? count : 1, ' '), slots);
                text = true;
            } else if (tab_ == child.name()) {
                text_.AddSpacing(child, "\t", slots);
                text = true;
            } else if (span_ == child.name() || link_ == child.name() || meta_ == child.name()) {
                OdtFonts inner =
                    styles_.StyleFonts(part_, "text", child.attribute(styleName_.c_str()).value());
                Fill(inner, fonts);
                if (depth < XmlPart::kMaxXmlDepth) ConvertContent(child, inner, depth + 1);
            }
        }
        if (text && slots.Any()) Rename(fonts);
    }

    XmlPart& part_;
    OdtStyles& styles_;
    ConversionSetup& setup_;
    OdtNames names_;
    ParagraphText text_;
    const std::string p_, h_, span_, link_, meta_, spaces_, tab_, styleName_;
    const std::string where_ = setup_.parts.Package().ShownName() + ": " + part_.Name();
};

std::string QuotedFamily(const std::string& name) {
    return name.find(' ') != std::string::npos ? "'" + name + "'" : name;
}

// Adds style:font-face for the target's name where the part's declarations lack it.
void DeclareFontFace(XmlPart& part, const std::string& name) {
    const OdtNames names(part.Root());
    pugi::xml_node root = part.Root();
    const std::string declarations = names.office + "font-face-decls", face = names.style + "font-face",
                      faceName = names.style + "name";
    pugi::xml_node container = root.child(declarations.c_str());
    for (pugi::xml_node node : container.children(face.c_str())) {
        if (name == node.attribute(faceName.c_str()).value()) return;
    }
    if (!container) {
        pugi::xml_node before;
        for (const char* next : {"styles", "automatic-styles", "master-styles", "body"}) {
            if ((before = root.child((names.office + next).c_str()))) break;
        }
        container = before ? root.insert_child_before(declarations.c_str(), before)
                           : root.append_child(declarations.c_str());
    }
    if (PrefixFor(root, {kSvgNamespace}, "?") == "?") {
        root.append_attribute(("xmlns:" + names.svg.substr(0, names.svg.size() - 1)).c_str()) =
            kSvgNamespace.data();
    }
    pugi::xml_node added = container.append_child(face.c_str());
    added.append_attribute(faceName.c_str()) = name.c_str();
    added.append_attribute((names.svg + "font-family").c_str()) = QuotedFamily(name).c_str();
    part.MarkChanged();
}

void CheckMimeType(DocumentParts& parts) {
    PackageReader& package = parts.Package();
    const auto index = package.Find("mimetype");
    if (!index || package.Entries()[*index].size > 256) return;
    const std::string type = package.Read(*index);
    if (!IsOpenDocumentText(type)) {
        throw Failure(
            kBadFileFormat,
            package.ShownName() + ": not a word document: an OpenDocument package of the type " + type);
    }
}

}  // namespace

void ConvertOdt(ConversionSetup& setup) {
    DocumentParts& parts = setup.parts;
    CheckMimeType(parts);
    XmlPart& content = parts.Require("content.xml");
    XmlPart* stylesPart = parts.Find("styles.xml");  // a package may do without common styles
    OdtStyles styles(stylesPart ? *stylesPart : content, stylesPart ? &content : nullptr);
    if (stylesPart) OdtPart(*stylesPart, styles, setup).Convert();
    OdtPart(content, styles, setup).Convert();
    parts.ApplyRenames(setup.targetName);
    if (!parts.AnyRenamed()) return;
    for (XmlPart* part : {stylesPart, &content}) {
        if (part && part->Changed()) DeclareFontFace(*part, setup.targetName);
    }
}

}  // namespace varnex
