#include "text/LetterCase.h"

#include <locale.h>
#include <wctype.h>

#include "text/Utf8Text.h"

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

std::size_t LengthFromLead(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC0 && lead < 0xE0) return 2;
    if (lead >= 0xE0 && lead < 0xF0) return 3;
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    return 0;
}

// The character that starts at `at`, which then moves past it.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = LengthFromLead(lead);
    if (length == 0 || text.size() - at < length ||
        FirstInvalidUtf8(text.substr(at, length)) != std::string_view::npos) {
        ++at;
        return kRawByte | lead;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    at += length;
    return c;
}

void Append(std::string& text, char32_t c) {
    if (c & kRawByte) {
        text.push_back(static_cast<char>(c & 0xFF));
    } else if (c < 0x80) {
        text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        text += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (c & 0x3F))};
    } else {
        text += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                 static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
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
    for (std::size_t at = 0; at < text.size();) Append(upper, Upper(NextCharacter(text, at)));
    return upper;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (Folded(NextCharacter(a, i)) != Folded(NextCharacter(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

}  // namespace varnex
