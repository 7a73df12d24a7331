#include "documents/ParagraphText.h"

#include "Failure.h"
#include "convert/CharacterRule.h"
#include "text/CodePointName.h"
#include "text/Utf8Characters.h"
#include "text/Utf8Text.h"
#include "text/Windows1252.h"

namespace varnex {

namespace {

bool XmlCarries(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

}  // namespace

ParagraphText::ParagraphText(const CodeRule& rule, DocumentTotals& totals, SpacingReplacement replaceSpacing,
                             bool markPreservedSpace)
    : rule_(rule),
      totals_(totals),
      replaceSpacing_(std::move(replaceSpacing)),
      markPreservedSpace_(markPreservedSpace) {}

void ParagraphText::Begin(const std::string& part, std::uint64_t paragraph) {
    part_ = part;
    paragraph_ = paragraph;
    position_ = 0;
    codes_.clear();
    pieces_.clear();
}

void ParagraphText::KeepWithoutCode(char32_t character) {
    if (rule_.strict) {
        throw Failure(kBadFileFormat, part_ + ", paragraph " + std::to_string(paragraph_) + ", character " +
                                          std::to_string(position_) + ": the character " +
                                          CodePointName(character) + " of source-font text has no code");
    }
    ++totals_.withoutCode[character];
}

void ParagraphText::NoteCode(std::uint8_t code) {
    codes_.push_back(static_cast<char>(code));
    if (!rule_.map->Entry(code).empty()) return;
    if (rule_.strict) {
        throw Failure(kBadFileFormat, part_ + ", paragraph " + std::to_string(paragraph_) + ", character " +
                                          std::to_string(position_) + ": the code " + std::to_string(code) +
                                          " has no entry in the target font");
    }
    ++totals_.dropped[code];
}

void ParagraphText::NoteCharacter(char32_t character) {
    if (!rule_.map->CharacterEntry(character).empty()) return;
    if (rule_.strict) {
        throw Failure(kBadFileFormat, part_ + ", paragraph " + std::to_string(paragraph_) + ", character " +
                                          std::to_string(position_) + ": the character " +
                                          CodePointName(character) + " has no entry in the target font");
    }
    ++totals_.droppedCharacters[character];
}

void ParagraphText::AddCharacters(Piece& piece, std::string_view text, const SourceSlots& slots) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t c = NextCharacter(text, i);
        ++position_;
        Span span;
        if (slots.InSource(c)) {
            const std::size_t before = codes_.size();
            if (rule_.unicodeSource) {
                codes_.append(text.substr(start, i - start));
                NoteCharacter(c);
            } else if (IsSymbolCharacter(c)) {
                NoteCode(static_cast<std::uint8_t>(c - kSymbolBase));
                span.symbol = true;
            } else if (const auto code = Windows1252Code(c)) {
                NoteCode(*code);
            } else {
                KeepWithoutCode(c);
            }
            if (codes_.size() != before) {
                span = {true, span.symbol, before, codes_.size()};
                ++totals_.convertedCharacters;
            }
        }
        if (!span.converted) span = {false, false, start, i};
        auto& spans = piece.spans;
        if (!spans.empty() && spans.back().converted == span.converted &&
            spans.back().symbol == span.symbol && spans.back().end == span.begin) {
            spans.back().end = span.end;
        } else {
            spans.push_back(span);
        }
    }
}

void ParagraphText::AddText(pugi::xml_node text, const SourceSlots& slots) {
    Piece piece;
    piece.node = text;
    AddCharacters(piece, text.value(), slots);
    if (!slots.Any()) return;  // nothing of it converts; its characters only count for positions
    pieces_.push_back(std::move(piece));
}

void ParagraphText::AddSpacing(pugi::xml_node element, std::string_view characters,
                               const SourceSlots& slots) {
    Piece piece;
    piece.node = element;
    piece.spacing = true;
    piece.original = characters;
    AddCharacters(piece, characters, slots);
    pieces_.push_back(std::move(piece));
}

// The converted codes of the whole paragraph at once. Every code of a legacy source converts on its
// own, so a span's share of the result is the sum of its codes' entries.
std::string ParagraphText::Converted() const {
    std::string out(ConvertedCapacity(*rule_.map, codes_.size()), '\0');
    const std::size_t produced =
        ConvertCodes(*rule_.map, reinterpret_cast<const std::uint8_t*>(codes_.data()), codes_.size(),
                     reinterpret_cast<std::uint8_t*>(out.data()));
    out.resize(produced);
    return out;
}

void ParagraphText::AppendCharacters(std::string& text, std::string_view codes, bool symbol) const {
    const auto refuse = [&](const std::string& what) {
        throw Failure(kBadFileFormat, part_ + ", paragraph " + std::to_string(paragraph_) +
                                          ": the converted text holds " + what +
                                          ", which a document cannot carry");
    };
    if (rule_.unicodeTarget) {
        if (FirstInvalidUtf8(codes) != std::string_view::npos) refuse("bytes that are not UTF-8");
        for (std::size_t i = 0; i < codes.size();) {
            const char32_t c = NextCharacter(codes, i);
            if (!XmlCarries(c)) refuse("the character " + CodePointName(c));
        }
        text.append(codes);
        return;
    }
    for (const char code : codes) {
        const auto byte = static_cast<std::uint8_t>(code);
        const char32_t c = symbol && byte >= 0x20 ? kSymbolBase + byte : Windows1252Character(byte);
        if (!XmlCarries(c)) refuse("the code " + std::to_string(byte));
        AppendUtf8(text, c);
    }
}

void ParagraphText::WriteBack(Piece& piece, const std::string& text) {
    if (piece.spacing) {
        if (text != piece.original) replaceSpacing_(piece.node, text);
        return;
    }
    piece.node.set_value(text.c_str());
    if (!markPreservedSpace_ || text.empty()) return;
    const bool edgeBlank =
        text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t';
    pugi::xml_node element = piece.node.parent();
    if (edgeBlank && !element.attribute("xml:space")) element.append_attribute("xml:space") = "preserve";
}

bool ParagraphText::Finish() {
    if (codes_.empty()) return false;
    const std::string converted = rule_.unicodeSource ? std::string() : Converted();
    std::size_t at = 0;
    bool changed = false;
    for (Piece& piece : pieces_) {
        std::string text;
        const std::string_view original =
            piece.spacing ? std::string_view(piece.original) : piece.node.value();
        for (const Span& span : piece.spans) {
            if (!span.converted) {
                text.append(original.substr(span.begin, span.end - span.begin));
                continue;
            }
            const std::string_view codes(codes_.data() + span.begin, span.end - span.begin);
            if (rule_.unicodeSource) {
                std::string out(ConvertedCapacity(*rule_.map, codes.size()), '\0');
                out.resize(ConvertCodes(*rule_.map, reinterpret_cast<const std::uint8_t*>(codes.data()),
                                        codes.size(), reinterpret_cast<std::uint8_t*>(out.data())));
                AppendCharacters(text, out, span.symbol);
                continue;
            }
            std::size_t length = 0;
            for (const char code : codes) length += rule_.map->Entry(static_cast<std::uint8_t>(code)).size();
            AppendCharacters(text, std::string_view(converted).substr(at, length), span.symbol);
            at += length;
        }
        if (text == original) continue;
        WriteBack(piece, text);
        changed = true;
    }
    return changed;
}

}  // namespace varnex
