#include "detect/MisreadCheck.h"

namespace varnex {

namespace {

constexpr std::size_t kSequencesToSuspect = 4;  // well-formed multi-byte UTF-8 sequences
constexpr double kOddShare = 0.15;              // of the characters from codes 128 up
constexpr double kCapitalShare = 0.5;           // of the letters
constexpr std::size_t kLettersToJudge = 8;

bool LooksLikeUtf8(std::string_view sample) {
    std::size_t sequences = 0;
    for (std::size_t i = 0; i < sample.size();) {
        if (static_cast<unsigned char>(sample[i]) < 0x80) {
            ++i;
            continue;
        }
        const char32_t c = NextUtf8(sample, i);
        if (c == kNoCharacter) return false;
        sequences += c != 0;
    }
    return sequences >= kSequencesToSuspect;
}

bool IllFormed(std::string_view sample) {
    std::size_t high = 0, bad = 0;
    ForEachUtf8(sample, [&](char32_t c) {
        high += c >= 0x80;
        bad += c == kNoCharacter;
    });
    return bad > 0 && bad * 100 >= high;
}

}  // namespace

bool MayBeMisread(const FontReading& named, std::string_view sample) {
    if (named.unicode) return IllFormed(sample);
    if (LooksLikeUtf8(sample)) return true;
    std::size_t high = 0, odd = 0, letters = 0, capitals = 0;
    for (const char byte : sample) {
        const auto code = static_cast<unsigned char>(byte);
        const char32_t c = named.characters[code];
        const Symbol symbol = c == kNoCharacter ? Symbol{} : SymbolOf(c);
        if (symbol.kind == SymbolKind::Letter) {
            ++letters;
            capitals += symbol.upper;
        } else if (code >= 0x80 && symbol.kind != SymbolKind::Boundary &&
                   symbol.kind != SymbolKind::Punctuation) {
            ++odd;
        }
        high += code >= 0x80;
    }
    if (high > 0 && static_cast<double>(odd) >= kOddShare * static_cast<double>(high)) return true;
    return letters >= kLettersToJudge &&
           static_cast<double>(capitals) >= kCapitalShare * static_cast<double>(letters);
}

}  // namespace varnex
