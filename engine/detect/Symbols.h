#pragma once

#include <cstdint>

namespace varnex {

// What a character is to the detector.
enum class SymbolKind : std::uint8_t {
    Letter,         // a letter of a script the models know (Cyrillic or Latin)
    Boundary,       // blanks, digits, ASCII punctuation: where words end
    Punctuation,    // the punctuation of typeset text (« » – … №): ends words, and is rarer
    ForeignLetter,  // a letter of no language the models know (Greek, accented Latin, Ѣ)
    Space,          // the no-break space and the soft hyphen: seldom in plain text
    Pseudographic,  // box drawing and block elements
    RareBox,        // box drawing that joins single and double lines
    Symbol,         // other signs: ¤ © ± ∙ √
    Control,        // control characters other than tab, line feed, form feed and return
    NoEntry,        // a code that the font does not have, or ill-formed UTF-8
};

enum class Script : std::uint8_t { None, Cyrillic, Latin };

// Letter indices run from 1 within their script; 0 is the word boundary of the models.
inline constexpr int kCyrillicLetters = 0x70;  // U+0430..U+049F, in lower case
inline constexpr int kLatinLetters = 26;
inline constexpr int kScriptSymbols = kCyrillicLetters + 1;  // the most symbols of a script

// Where punctuation may stand, and what ends a sentence.
enum SymbolFlag : std::uint8_t {
    kAfterLetter = 1,   // punctuation that may follow a letter directly (» … ,)
    kBeforeLetter = 2,  // punctuation that may precede a letter directly (« „)
    kSentenceEnd = 4,   // . ! ? … and line ends: a capital may follow
    kBlank = 8,         // a blank, a tab or a line end
};

struct Symbol {
    SymbolKind kind = SymbolKind::NoEntry;
    Script script = Script::None;
    std::uint8_t index = 0;  // a letter's lower-case form's index in its script; which box drawing
    bool upper = false;
    std::uint8_t flags = 0;
};

// The symbol of a character (U+0000..U+10FFFF).
Symbol SymbolOf(char32_t character);

// The lower-case letter of a script's index (for the models' data), or 0.
char32_t LetterOf(Script script, int index);
// The index of a lower-case letter in its script, or 0.
int IndexOf(Script script, char32_t lowerCase);

}  // namespace varnex
