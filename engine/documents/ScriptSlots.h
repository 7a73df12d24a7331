#pragma once

namespace varnex {

// Which of a run's fonts holds the source font, by the slot a word processor draws a character
// with: Word's w:ascii (U+0000..U+007F), w:hAnsi (other Latin and symbols), w:eastAsia and w:cs;
// OpenDocument's western font fills both Latin slots.
struct SourceSlots {
    bool ascii = false;
    bool highAnsi = false;
    bool eastAsian = false;
    bool complex = false;
    bool complexRun = false;    // w:rtl or w:cs: every character takes the complex-script font
    bool eastAsiaHint = false;  // w:hint="eastAsia": shared punctuation takes the East Asian font

    bool Any() const { return ascii || highAnsi || eastAsian || complex; }
    bool InSource(char32_t character) const;
};

bool IsEastAsianCharacter(char32_t character);
bool IsComplexScriptCharacter(char32_t character);

}  // namespace varnex
