#include "text/LetterCase.h"

#include <locale.h>
#include <wctype.h>

#include "text/Utf8Characters.h"
#include "text/Utf8Unit.h"

namespace varnex {

namespace {

// The C library's case tables of Unicode. C.UTF-8 ships with the C library itself (in
// Debian's essential libc-bin) and, unlike the user's locale, means the same everywhere;
// should it be missing, the plain C locale still gives the ASCII letters.
locale_t CaseLocale() {
    static const locale_t locale = [] {
        const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        return unicode ? unicode : newlocale(LC_CTYPE_MASK, "C", locale_t{});
    }();
    return locale;
}

// A byte outside well-formed UTF-8, kept apart from every code point.
constexpr char32_t kRawByte = 0x80000000;

// The character that starts at `at`, which then moves past it; a byte that starts no
// well-formed sequence stands for itself.
char32_t NextCharacterOrByte(std::string_view text, std::size_t& at) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const Utf8Unit unit = ReadUtf8Unit(bytes + at, text.size() - at);
    if (!unit.wellFormed) return kRawByte | bytes[at++];
    at += unit.length;
    return unit.character;
}

void Append(std::string& text, char32_t c) {
    if (c & kRawByte) {
        text.push_back(static_cast<char>(c & 0xFF));
    } else {
        AppendUtf8(text, c);
    }
}

char32_t Upper(char32_t c) { return c & kRawByte ? c : static_cast<char32_t>(towupper_l(c, CaseLocale())); }

// Through upper case and back down, so that letters with two lower forms (σ and final ς) or
// two upper forms (K and the Kelvin sign) meet.
char32_t Folded(char32_t c) {
    return c & kRawByte ? c : static_cast<char32_t>(towlower_l(Upper(c), CaseLocale()));
}

}  // namespace

std::string UpperCase(std::string_view text) {
    std::string upper;
    upper.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) Append(upper, Upper(NextCharacterOrByte(text, at)));
    return upper;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (Folded(NextCharacterOrByte(a, i)) != Folded(NextCharacterOrByte(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

}  // namespace varnex
