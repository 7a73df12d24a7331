#pragma once

#include <cstdint>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "convert/FontMap.h"
#include "documents/DocumentTotals.h"
#include "documents/ScriptSlots.h"

namespace varnex {

// How the characters of source-font text become codes and the converted codes characters again.
struct CodeRule {
    const FontMap* map = nullptr;
    bool unicodeSource = false;  // the run's characters as UTF-8 bytes
    bool unicodeTarget = false;  // the converted codes are UTF-8: real Unicode characters
    bool strict = false;  // a source-font character without a code, or a code without an entry, is a Failure
};

// The source-font text of one paragraph, gathered from its runs and converted as one text:
// text split over several runs, or over a tab or spaces element, converts as if it were one run.
// Each character becomes its code through the Windows-1252 bridge, or, for U+F020..U+F0FF (symbol
// fonts), the code it stands for; the converted codes go back the same way. A character
// without a code is kept as it is and counted.
class ParagraphText {
public:
    // Puts `text` in place of a tab or spaces element whose converted codes differ from it.
    using SpacingReplacement = std::function<void(pugi::xml_node element, const std::string& text)>;

    ParagraphText(const CodeRule& rule, DocumentTotals& totals, SpacingReplacement replaceSpacing,
                  bool markPreservedSpace);

    // `where` names the package and the part in failures.
    void Begin(const std::string& where, std::uint64_t paragraph);
    // A text node of a run, each character taken whose slot holds the source font.
    void AddText(pugi::xml_node text, const SourceSlots& slots);
    // A tab or spaces element that stands for `characters` (tabs and blanks).
    void AddSpacing(pugi::xml_node element, std::string_view characters, const SourceSlots& slots);
    // Converts what was gathered and writes it back; true when the part changed.
    bool Finish();

private:
    struct Span {
        bool converted = false;
        bool symbol = false;
        std::size_t begin = 0, end = 0;  // in codes_ when converted, else in the node's text
    };
    struct Piece {
        pugi::xml_node node;
        bool spacing = false;
        std::string original;  // spacing: the characters it stands for
        std::vector<Span> spans;
    };

    void AddCharacters(Piece& piece, std::string_view text, const SourceSlots& slots);
    void KeepWithoutCode(char32_t character);
    // Gathers a legacy code; one without an entry is counted, or a Failure when strict.
    void NoteCode(std::uint8_t code);
    void NoteCharacter(char32_t character);
    std::string Converted() const;
    void AppendCharacters(std::string& text, std::string_view codes, bool symbol) const;
    void WriteBack(Piece& piece, const std::string& text);

    CodeRule rule_;
    DocumentTotals& totals_;
    SpacingReplacement replaceSpacing_;
    bool markPreservedSpace_;
    std::string part_;
    std::uint64_t paragraph_ = 0;
    std::uint64_t position_ = 0;  // characters of the paragraph so far
    std::string codes_;
    std::vector<Piece> pieces_;
};

}  // namespace varnex
