// The word document converter: paragraphs of the body, tables, text boxes, headers, footers,
// footnotes, endnotes and comments, run by run with their symbols, the text of SmartArt and
// charts, and the same of the glossary document.

#include <vector>

#include "Failure.h"
#include "documents/ConversionSetup.h"
#include "documents/DocxFonts.h"
#include "documents/DrawingTextConversion.h"
#include "documents/SymbolConversion.h"
#include "documents/WordParts.h"
#include "documents/XmlWalk.h"

namespace varnex {

namespace {

bool IsOn(pugi::xml_node element, const std::string& val) {
    if (!element) return false;
    const std::string_view value = element.attribute(val.c_str()).value();
    return value != "0" && value != "false" && value != "off";
}

class DocxPart {
public:
    DocxPart(XmlPart& part, DocxFonts& fonts, ConversionSetup& setup)
        : part_(part),
          fonts_(fonts),
          setup_(setup),
          w_(PrefixFor(part.Root(), {kWordNamespace, kStrictWordNamespace}, "w:")),
          text_(
              setup.rule, setup.totals,
              [this](pugi::xml_node tab, const std::string& text) { ReplaceTab(tab, text); }, true) {}

    void Convert() {
        const std::string p = w_ + "p";
        std::uint64_t paragraph = 0;
        WalkElements(part_.Document(), [&](pugi::xml_node node) {
            if (p != node.name()) return true;
            ConvertParagraph(node, ++paragraph);
            if ((paragraph & ((1u << kProgressStep) - 1)) == 0) ReportProgress(setup_, part_, node);
            return true;
        });
    }

private:
    std::string W(const char* name) const { return w_ + name; }

    void ConvertParagraph(pugi::xml_node paragraph, std::uint64_t number) {
        const std::string p = W("p"), r = W("r"), textBox = W("txbxContent");
        const std::string_view style =
            paragraph.child(W("pPr").c_str()).child(W("pStyle").c_str()).attribute(W("val").c_str()).value();
        const std::string_view table = TableStyleOf(paragraph);
        text_.Begin(where_, number);
        WalkElements(paragraph, [&](pugi::xml_node node) {
            if (p == node.name() || textBox == node.name())
                return false;  // converted as paragraphs of their own
            if (r != node.name()) return true;
            ConvertRun(node, style, table);
            return false;
        });
        if (text_.Finish()) part_.MarkChanged();
    }

    SourceSlots SlotsOf(const SlotFonts& fonts, pugi::xml_node properties, pugi::xml_node rFonts) {
        SourceSlots slots;
        bool* flags[kSlotCount] = {&slots.ascii, &slots.highAnsi, &slots.eastAsian, &slots.complex};
        for (int slot = 0; slot < kSlotCount; ++slot) {
            *flags[slot] = fonts[slot].Set() && setup_.names.IsSource(fonts[slot].name);
        }
        const std::string val = W("val");
        slots.complexRun =
            IsOn(properties.child(W("rtl").c_str()), val) || IsOn(properties.child(W("cs").c_str()), val);
        slots.eastAsiaHint = std::string_view(rFonts.attribute(W("hint").c_str()).value()) == "eastAsia";
        return slots;
    }

    // The style of the innermost table the paragraph is in, within its text box or part.
    std::string_view TableStyleOf(pugi::xml_node paragraph) const {
        const std::string tbl = W("tbl"), textBox = W("txbxContent");
        for (pugi::xml_node node = paragraph.parent(); node && textBox != node.name(); node = node.parent()) {
            if (tbl == node.name())
                return node.child(W("tblPr").c_str())
                    .child(W("tblStyle").c_str())
                    .attribute(W("val").c_str())
                    .value();
        }
        return {};
    }

    void ConvertRun(pugi::xml_node run, std::string_view paragraphStyle, std::string_view tableStyle) {
        const pugi::xml_node properties = run.child(W("rPr").c_str());
        const pugi::xml_node rFonts = properties.child(W("rFonts").c_str());
        const std::string_view style =
            properties.child(W("rStyle").c_str()).attribute(W("val").c_str()).value();
        const SlotFonts fonts = fonts_.Resolve(rFonts, part_, style, paragraphStyle, tableStyle);
        const std::string t = W("t"), deleted = W("delText"), tab = W("tab"), sym = W("sym");
        if (setup_.collect) return Collect(run, fonts, t, deleted, sym);
        const SourceSlots slots = SlotsOf(fonts, properties, rFonts);
        bool text = false;
        std::vector<pugi::xml_node> symbols;
        for (pugi::xml_node child : run.children()) {
            if (sym == child.name()) symbols.push_back(child);
            if (t == child.name() || deleted == child.name()) {
                if (const pugi::xml_node value = TextChild(child)) {
                    text_.AddText(value, slots);
                    text = true;
                }
            } else if (tab == child.name()) {
                text_.AddSpacing(child, "\t", slots);
                text = true;
            }
        }
        if (text && slots.Any()) RenameSourceFonts(fonts);
        bool symbolConverted = false;
        for (const pugi::xml_node symbol : symbols)
            symbolConverted = ConvertSymbol(setup_, part_, symbol, w_, where_) || symbolConverted;
        if (!symbolConverted) return;
        part_.MarkChanged();
        // its characters are now the run's own text, in the run's font
        if (setup_.rule.unicodeTarget) RenameSourceFonts(fonts);
    }

    void Collect(pugi::xml_node run, const SlotFonts& fonts, const std::string& t, const std::string& deleted,
                 const std::string& sym) {
        const FontSetting& letters = fonts[1].Set() ? fonts[1] : fonts[0];  // high ANSI, else ASCII
        for (pugi::xml_node child : run.children()) {
            if (sym == child.name()) {
                setup_.collect(child.attribute(W("font").c_str()).value(), SymbolText(child, w_));
                continue;
            }
            if (!letters.Set() || (t != child.name() && deleted != child.name())) continue;
            if (const pugi::xml_node value = TextChild(child)) setup_.collect(letters.name, value.value());
        }
    }

    void RenameSourceFonts(const SlotFonts& fonts) {
        for (const FontSetting& font : fonts) {
            if (!font.Set() || !setup_.names.IsSource(font.name)) continue;
            setup_.parts.Rename(font.provider, *font.part);
            if (font.fallback && setup_.names.IsSource(font.fallback.value())) {
                setup_.parts.Rename(font.fallback, *font.fallbackPart);
            }
        }
    }

    void ReplaceTab(pugi::xml_node tab, const std::string& text) {
        pugi::xml_node run = tab.parent();
        if (!text.empty()) {
            pugi::xml_node t = run.insert_child_before(W("t").c_str(), tab);
            t.append_attribute("xml:space") = "preserve";
            t.append_child(pugi::node_pcdata).set_value(text.c_str());
        }
        run.remove_child(tab);
    }

    XmlPart& part_;
    DocxFonts& fonts_;
    ConversionSetup& setup_;
    std::string w_;
    ParagraphText text_;
    const std::string where_ = setup_.parts.Package().ShownName() + ": " + part_.Name();
};

// Adds w:font for the target's name where the font table lacks it.
void DeclareFont(XmlPart* fontTable, const std::string& name) {
    if (!fontTable) return;
    pugi::xml_node root = fontTable->Root();
    const std::string w = PrefixFor(root, {kWordNamespace, kStrictWordNamespace}, "w:");
    const std::string font = w + "font", attribute = w + "name";
    for (pugi::xml_node node : root.children(font.c_str())) {
        if (name == node.attribute(attribute.c_str()).value()) return;
    }
    root.append_child(font.c_str()).append_attribute(attribute.c_str()) = name.c_str();
    fontTable->MarkChanged();
}

XmlPart* PartOrNone(DocumentParts& parts, const std::string& name) {
    return name.empty() ? nullptr : parts.Find(name);
}

void RequireWordprocessingMl(DocumentParts& parts, const std::string& main) {
    XmlPart& document = parts.Require(main);
    if (PrefixFor(document.Root(), {kWordNamespace, kStrictWordNamespace}, "?") == "?") {
        throw Failure(kBadFileFormat, parts.Package().ShownName() + ": not a word document: " + main +
                                          " is not WordprocessingML");
    }
}

// The main part and the parts of its relationships, with the fonts of its own styles.
void ConvertWordParts(ConversionSetup& setup, const WordParts& word) {
    DocumentParts& parts = setup.parts;
    DocxFonts fonts(PartOrNone(parts, word.styles), PartOrNone(parts, word.theme));
    for (const std::string& name : word.text) DocxPart(parts.Require(name), fonts, setup).Convert();
    for (const std::string& name : word.drawings) {
        XmlPart* part = nullptr;
        try {
            part = parts.Find(name);
        } catch (const Failure&) {
            continue;  // a chart that is no XML we read (UTF-16, damaged) is copied as it is
        }
        if (part) ConvertDrawingText(setup, *part);
    }
}

}  // namespace

void ConvertDocx(ConversionSetup& setup) {
    DocumentParts& parts = setup.parts;
    parts.Require("[Content_Types].xml");
    const WordParts document = FindWordParts(parts, WordMainPart(parts.Package()));
    RequireWordprocessingMl(parts, document.main);
    ConvertWordParts(setup, document);
    std::vector<std::string> fontTables = {document.fontTable};
    if (!document.glossary.empty()) {
        const WordParts glossary = FindWordParts(parts, document.glossary, document.theme);
        RequireWordprocessingMl(parts, glossary.main);
        ConvertWordParts(setup, glossary);
        fontTables.push_back(glossary.fontTable);
    }
    parts.ApplyRenames(setup.targetName);
    if (!parts.AnyRenamed()) return;
    for (const std::string& fontTable : fontTables)
        DeclareFont(PartOrNone(parts, fontTable), setup.targetName);
}

}  // namespace varnex
