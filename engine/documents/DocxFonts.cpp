#include "documents/DocxFonts.h"

#include "documents/XmlWalk.h"

namespace varnex {

namespace {

// A chain of w:basedOn longer than this is a loop or a hostile document.
constexpr int kMaxStyleChain = 64;

constexpr std::array<const char*, kSlotCount> kPlainNames = {"ascii", "hAnsi", "eastAsia", "cs"};
constexpr std::array<const char*, kSlotCount> kThemeNames = {"asciiTheme", "hAnsiTheme", "eastAsiaTheme",
                                                             "cstheme"};

void Fill(SlotFonts& fonts, const SlotFonts& below) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!fonts[slot].Set()) fonts[slot] = below[slot];
    }
}

}  // namespace

DocxFonts::DocxFonts(XmlPart* styles, XmlPart* theme) : styles_(styles) {
    if (theme) ReadTheme(*theme);
    if (!styles) return;
    const pugi::xml_node root = styles->Root();
    w_ = PrefixFor(root, {kWordNamespace, kStrictWordNamespace}, "w:");
    const std::string style = w_ + "style", styleId = w_ + "styleId";
    for (pugi::xml_node node : root.children(style.c_str())) {
        const std::string id = node.attribute(styleId.c_str()).value();
        byId_.emplace(id, node);
        const std::string_view type = node.attribute((w_ + "type").c_str()).value();
        const std::string_view isDefault = node.attribute((w_ + "default").c_str()).value();
        if (type == "paragraph" && (isDefault == "1" || isDefault == "true" || isDefault == "on")) {
            defaultParagraphStyle_ = id;
        }
    }
    const pugi::xml_node rFonts = root.child((w_ + "docDefaults").c_str())
                                      .child((w_ + "rPrDefault").c_str())
                                      .child((w_ + "rPr").c_str())
                                      .child((w_ + "rFonts").c_str());
    for (int slot = 0; slot < kSlotCount; ++slot) defaults_[slot] = FromElement(rFonts, *styles, slot);
}

void DocxFonts::ReadTheme(XmlPart& theme) {
    theme_ = &theme;
    const std::string a = PrefixFor(theme.Root(), {kDrawingNamespace, kStrictDrawingNamespace}, "a:");
    const pugi::xml_node scheme =
        theme.Root().child((a + "themeElements").c_str()).child((a + "fontScheme").c_str());
    const char* kinds[2] = {"majorFont", "minorFont"};
    const char* scripts[3] = {"latin", "ea", "cs"};
    for (int kind = 0; kind < 2; ++kind) {
        const pugi::xml_node fonts = scheme.child((a + kinds[kind]).c_str());
        for (int script = 0; script < 3; ++script) {
            themeFonts_[kind][script] = fonts.child((a + scripts[script]).c_str()).attribute("typeface");
        }
    }
}

FontSetting DocxFonts::FromElement(pugi::xml_node rFonts, XmlPart& part, int slot) const {
    if (!rFonts) return {};
    const std::string w(rFonts.name(), std::string_view(rFonts.name()).find(':') + 1);
    const pugi::xml_attribute plain = rFonts.attribute((w + kPlainNames[slot]).c_str());
    if (const pugi::xml_attribute theme = rFonts.attribute((w + kThemeNames[slot]).c_str());
        theme && theme_) {
        const std::string_view value = theme.value();
        const int kind = value.starts_with("major") ? 0 : 1;
        const int script = value.ends_with("EastAsia") ? 1 : value.ends_with("Bidi") ? 2 : 0;
        const pugi::xml_attribute typeface = themeFonts_[kind][script];
        if (typeface) return {typeface.value(), typeface, theme_, plain, &part};
    }
    if (plain) return {plain.value(), plain, &part, {}, nullptr};
    return {};
}

SlotFonts DocxFonts::ChainFonts(std::string_view id) {
    SlotFonts fonts{};
    std::string current(id);
    const std::string rPr = w_ + "rPr", rFontsName = w_ + "rFonts", basedOn = w_ + "basedOn",
                      val = w_ + "val";
    for (int step = 0; step < kMaxStyleChain && !current.empty(); ++step) {
        const auto found = byId_.find(current);
        if (found == byId_.end()) break;
        const pugi::xml_node rFonts = found->second.child(rPr.c_str()).child(rFontsName.c_str());
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (!fonts[slot].Set()) fonts[slot] = FromElement(rFonts, *styles_, slot);
        }
        current = found->second.child(basedOn.c_str()).attribute(val.c_str()).value();
    }
    return fonts;
}

const SlotFonts& DocxFonts::StyleFonts(std::string_view id) {
    const std::string key(id);
    const auto found = resolved_.find(key);
    if (found != resolved_.end()) return found->second;
    return resolved_.emplace(key, ChainFonts(id)).first->second;
}

SlotFonts DocxFonts::Resolve(pugi::xml_node runFonts, XmlPart& runPart, std::string_view runStyle,
                             std::string_view paragraphStyle, std::string_view tableStyle) {
    SlotFonts fonts{};
    for (int slot = 0; slot < kSlotCount; ++slot) fonts[slot] = FromElement(runFonts, runPart, slot);
    if (!runStyle.empty()) Fill(fonts, StyleFonts(runStyle));
    const bool known = !paragraphStyle.empty() && byId_.count(std::string(paragraphStyle));
    Fill(fonts, StyleFonts(known ? paragraphStyle : std::string_view(defaultParagraphStyle_)));
    if (!tableStyle.empty()) Fill(fonts, StyleFonts(tableStyle));
    Fill(fonts, defaults_);
    return fonts;
}

}  // namespace varnex
