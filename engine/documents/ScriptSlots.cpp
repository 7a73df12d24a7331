#include "documents/ScriptSlots.h"

namespace varnex {

namespace {

bool Within(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }

// Latin-1 and general punctuation that Word draws with the East Asian font under the hint.
bool SharedWithEastAsia(char32_t c) { return Within(c, 0xA1, 0xFF) || Within(c, 0x2000, 0x206F); }

}  // namespace

bool IsEastAsianCharacter(char32_t c) {
    return Within(c, 0x1100, 0x11FF) || Within(c, 0x2E80, 0x9FFF) || Within(c, 0xA000, 0xA4CF) ||
           Within(c, 0xAC00, 0xD7AF) || Within(c, 0xF900, 0xFAFF) || Within(c, 0xFE30, 0xFE4F) ||
           Within(c, 0xFF00, 0xFFEF) || Within(c, 0x20000, 0x2FFFF);
}

bool IsComplexScriptCharacter(char32_t c) {
    return Within(c, 0x0590, 0x08FF) || Within(c, 0x0900, 0x0DFF) || Within(c, 0x0E00, 0x0EFF) ||
           Within(c, 0xFB1D, 0xFDFF) || Within(c, 0xFE70, 0xFEFF);
}

bool SourceSlots::InSource(char32_t c) const {
    if (complexRun || IsComplexScriptCharacter(c)) return complex;
    if (IsEastAsianCharacter(c) || (eastAsiaHint && SharedWithEastAsia(c))) return eastAsian;
    return c < 0x80 ? ascii : highAnsi;
}

}  // namespace varnex
