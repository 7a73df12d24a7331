#include "documents/DrawingTextConversion.h"

#include "documents/DocxFonts.h"
#include "documents/ParagraphText.h"
#include "documents/XmlWalk.h"

namespace varnex {

namespace {

class DrawingPart {
public:
    DrawingPart(ConversionSetup& setup, XmlPart& part)
        : setup_(setup),
          part_(part),
          a_(PrefixFor(part.Root(), {kDrawingNamespace, kStrictDrawingNamespace}, "a:")),
          text_(
              setup.rule, setup.totals, [](pugi::xml_node, const std::string&) {}, false) {}

    void Convert() {
        const std::string p = A("p");
        std::uint64_t paragraph = 0;
        WalkElements(part_.Document(), [&](pugi::xml_node node) {
            if (p != node.name()) return true;
            ConvertParagraph(node, ++paragraph);
            return false;
        });
    }

private:
    std::string A(const char* name) const { return a_ + name; }

    pugi::xml_attribute TypefaceOf(pugi::xml_node properties) const {
        return properties.child(A("latin").c_str()).attribute("typeface");
    }

    void ConvertParagraph(pugi::xml_node paragraph, std::uint64_t number) {
        const pugi::xml_attribute paragraphFont =
            TypefaceOf(paragraph.child(A("pPr").c_str()).child(A("defRPr").c_str()));
        const std::string r = A("r"), field = A("fld"), t = A("t");
        text_.Begin(where_, number);
        for (pugi::xml_node run : paragraph.children()) {
            if (r != run.name() && field != run.name()) continue;
            pugi::xml_attribute font = TypefaceOf(run.child(A("rPr").c_str()));
            if (!font) font = paragraphFont;
            const pugi::xml_node value = TextChild(run.child(t.c_str()));
            if (!font || !value) continue;
            if (setup_.collect) {
                setup_.collect(font.value(), value.value());
                continue;
            }
            if (!setup_.names.IsSource(font.value())) continue;
            SourceSlots slots;
            slots.ascii = slots.highAnsi = slots.eastAsian = slots.complex = true;
            text_.AddText(value, slots);
            setup_.parts.Rename(font, part_);
        }
        if (text_.Finish()) part_.MarkChanged();
    }

    ConversionSetup& setup_;
    XmlPart& part_;
    std::string a_;
    ParagraphText text_;
    const std::string where_ = setup_.parts.Package().ShownName() + ": " + part_.Name();
};

}  // namespace

void ConvertDrawingText(ConversionSetup& setup, XmlPart& part) { DrawingPart(setup, part).Convert(); }

}  // namespace varnex
