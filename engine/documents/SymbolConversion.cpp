#include "documents/SymbolConversion.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "Failure.h"
#include "text/CodePointName.h"
#include "text/Utf8Characters.h"
#include "text/Windows1252.h"

namespace varnex {

namespace {

std::optional<char32_t> CharacterOf(pugi::xml_node symbol, const std::string& w) {
    const std::string_view hex = symbol.attribute((w + "char").c_str()).value();
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (hex.empty() || error != std::errc() || end != hex.data() + hex.size() || value > 0xFFFF)
        return std::nullopt;
    return static_cast<char32_t>(value);
}

// In a deletion, text is w:delText.
bool Deleted(pugi::xml_node run, const std::string& w) {
    const std::string deletion = w + "del", moved = w + "moveFrom";
    for (pugi::xml_node node = run.parent(); node; node = node.parent()) {
        if (deletion == node.name() || moved == node.name()) return true;
    }
    return false;
}

std::string Hex(char32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::string SymbolText(pugi::xml_node symbol, const std::string& w) {
    std::string text;
    if (const auto character = CharacterOf(symbol, w)) AppendUtf8(text, *character);
    return text;
}

bool ConvertSymbol(ConversionSetup& setup, XmlPart& part, pugi::xml_node symbol, const std::string& w,
                   const std::string& where) {
    const std::string fontName = w + "font", charName = w + "char";
    const std::optional<char32_t> character = CharacterOf(symbol, w);
    if (!character || setup.rule.unicodeSource ||
        !setup.names.IsSource(symbol.attribute(fontName.c_str()).value()))
        return false;
    const bool symbolForm = IsSymbolCharacter(*character);
    const std::optional<std::uint8_t> code =
        symbolForm ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*character - kSymbolBase))
                   : Windows1252Code(*character);
    DocumentTotals& totals = setup.totals;
    if (!code) {
        if (setup.rule.strict)
            throw Failure(kBadFileFormat,
                          where + ": the symbol " + CodePointName(*character) + " has no code");
        ++totals.withoutCode[*character];
        return false;
    }
    const std::string_view entry = setup.rule.map->Entry(*code);
    if (entry.empty()) {
        if (setup.rule.strict) {
            throw Failure(kBadFileFormat, where + ": the symbol of code " + std::to_string(*code) +
                                              " has no entry in the target font");
        }
        ++totals.dropped[*code];
        return false;
    }
    ++totals.convertedCharacters;
    pugi::xml_node run = symbol.parent();
    if (setup.rule.unicodeTarget) {
        pugi::xml_node text =
            run.insert_child_before((w + (Deleted(run, w) ? "delText" : "t")).c_str(), symbol);
        text.append_attribute("xml:space") = "preserve";
        text.append_child(pugi::node_pcdata).set_value(std::string(entry).c_str());
    } else {
        for (const char each : entry) {
            const auto target = static_cast<std::uint8_t>(each);
            pugi::xml_node made = run.insert_child_before((w + "sym").c_str(), symbol);
            pugi::xml_attribute font = made.append_attribute(fontName.c_str());
            font = symbol.attribute(fontName.c_str()).value();
            made.append_attribute(charName.c_str()) =
                Hex(symbolForm ? kSymbolBase + target : Windows1252Character(target)).c_str();
            setup.parts.Rename(font, part);
        }
    }
    run.remove_child(symbol);
    return true;
}

}  // namespace varnex
