#include "detect/Symbols.h"

#include <optional>

namespace varnex {

namespace {

constexpr char32_t kFirstCyrillic = 0x430;  // а; the indices run up to U+049F (ґ is U+0491)

bool Between(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }

// Blanks, digits and ASCII punctuation.
bool IsBoundary(char32_t c) {
    if (c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == ' ') return true;
    return c < 0x7F && !Between(c, 'a', 'z') && !Between(c, 'A', 'Z') && c >= 0x20;
}

std::uint8_t BoundaryFlags(char32_t c) {
    const bool end = c == '.' || c == '!' || c == '?' || c == '\n' || c == '\r';
    const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
    return static_cast<std::uint8_t>((end ? kSentenceEnd : 0) | (blank ? kBlank : 0));
}

constexpr std::uint8_t kInside = kAfterLetter | kBeforeLetter;

// The punctuation of typeset text, and where it may touch a letter; none for other characters.
std::optional<std::uint8_t> PunctuationFlags(char32_t c) {
    switch (c) {
        case 0xAB:    // «
        case 0x201A:  // ‚
        case 0x201B:  // ‛
        case 0x201E:  // „
        case 0x201F:  // ‟
            return kBeforeLetter;
        case 0xBB:    // »
        case 0x201D:  // ”
            return kAfterLetter;
        case 0x2026:  // …
            return kAfterLetter | kSentenceEnd;
        case 0x2012:   // ‒
        case 0x2013:   // –
        case 0x2014:   // —
        case 0x2015:   // ―
        case 0x2116:   // №
            return 0;  // stands between blanks
        case 0x2010:   // ‐
        case 0x2011:   // ‑
        case 0x2018:   // ‘
        case 0x2019:   // ’
        case 0x201C:   // “
        case 0x2BC:    // ʼ
            return kAfterLetter | kBeforeLetter;
        default:
            return std::nullopt;
    }
}

// Box drawing that joins single and double lines: seldom in the tables of DOS programs.
bool IsRareBox(char32_t c) {
    switch (c) {
        case 0x2550:  // ═
        case 0x2551:  // ║
        case 0x2554:  // ╔
        case 0x2557:  // ╗
        case 0x255A:  // ╚
        case 0x255D:  // ╝
        case 0x2560:  // ╠
        case 0x2563:  // ╣
        case 0x2566:  // ╦
        case 0x2569:  // ╩
        case 0x256C:  // ╬
            return false;
        default:
            return Between(c, 0x2552, 0x256B);
    }
}

Symbol CyrillicLetter(char32_t lower, bool upper) {
    return {SymbolKind::Letter, Script::Cyrillic, static_cast<std::uint8_t>(lower - kFirstCyrillic + 1),
            upper};
}

Symbol Cyrillic(char32_t c) {
    if (Between(c, 0x400, 0x40F)) return CyrillicLetter(c + 0x50, true);  // Ѐ..Џ
    if (Between(c, 0x410, 0x42F)) return CyrillicLetter(c + 0x20, true);  // А..Я
    if (Between(c, 0x430, 0x45F)) return CyrillicLetter(c, false);
    if (c == 0x490 || c == 0x491) return CyrillicLetter(0x491, c == 0x490);  // Ґ ґ
    return {SymbolKind::ForeignLetter};
}

}  // namespace

Symbol SymbolOf(char32_t c) {
    if (Between(c, 'a', 'z'))
        return {SymbolKind::Letter, Script::Latin, static_cast<std::uint8_t>(c - 'a' + 1), false};
    if (Between(c, 'A', 'Z'))
        return {SymbolKind::Letter, Script::Latin, static_cast<std::uint8_t>(c - 'A' + 1), true};
    if (IsBoundary(c)) return {SymbolKind::Boundary, Script::None, 0, false, BoundaryFlags(c)};
    if (const auto flags = PunctuationFlags(c))
        return {SymbolKind::Punctuation, Script::None, 0, false, *flags};
    if (c < 0x20 || Between(c, 0x7F, 0x9F)) return {SymbolKind::Control};
    if (Between(c, 0x400, 0x4FF)) return Cyrillic(c);
    if (c == 0xA0 || c == 0xAD) return {SymbolKind::Space};  // no-break space, soft hyphen
    if (Between(c, 0x2500, 0x259F)) {  // the index tells one from another: a row repeats one
        return {IsRareBox(c) ? SymbolKind::RareBox : SymbolKind::Pseudographic, Script::None,
                static_cast<std::uint8_t>(c - 0x2500)};
    }
    // letters of other scripts: Latin-1 and its extensions, Greek, and what lies beyond
    if ((Between(c, 0xC0, 0x24F) && c != 0xD7 && c != 0xF7) || Between(c, 0x370, 0x3FF)) {
        return {SymbolKind::ForeignLetter};
    }
    return {SymbolKind::Symbol};
}

char32_t LetterOf(Script script, int index) {
    if (index <= 0) return 0;
    if (script == Script::Latin) return index <= kLatinLetters ? static_cast<char32_t>('a' + index - 1) : 0;
    if (script == Script::Cyrillic) return index <= kCyrillicLetters ? kFirstCyrillic + index - 1 : 0;
    return 0;
}

int IndexOf(Script script, char32_t c) {
    if (script == Script::Latin) return Between(c, 'a', 'z') ? static_cast<int>(c - 'a' + 1) : 0;
    if (script == Script::Cyrillic && Between(c, kFirstCyrillic, kFirstCyrillic + kCyrillicLetters - 1))
        return static_cast<int>(c - kFirstCyrillic + 1);
    return 0;
}

}  // namespace varnex
