#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Dialogs.h"
#include "convert/FontMap.h"

namespace varnex {

// The clipboard as the quick conversion sees it: text as 8-bit codes, or, where the source or
// the target is the Unicode font, as UTF-8.
class CodeClipboard {
public:
    virtual ~CodeClipboard() = default;
    // The clipboard's plain text; empty when it holds none. Throws Failure when a character
    // has no 8-bit code.
    virtual std::string ReadCodes() = 0;
    // Puts codes on the clipboard as its new text. Throws Failure when that cannot be
    // done, and then the clipboard still holds its earlier text.
    virtual void Replace(std::string_view codes) = 0;
    // The same with the text in UTF-8: every character can be read.
    virtual std::string ReadUtf8() = 0;
    virtual void ReplaceUtf8(std::string_view text) = 0;
};

// What the quick conversion needs from the window around it.
struct QuickConversionHost {
    std::string sourceFont;
    std::string targetFont;
    // Loads the map for the pair; false when the load failed and the program is ending.
    std::function<bool(FontMap&)> loadFontMap;
    std::function<void()> yield;
    CodeClipboard& clipboard;
    Dialogs& dialogs;
};

// How a quick conversion ended; it decides what happens to the lock afterwards.
enum class QuickOutcome {
    Warned,     // same fonts or nothing on the clipboard: the lock holds until a font changes
    Finished,   // converted, or failed with the failure message: the lock cools down
    Abandoned,  // the map could not be loaded and the program is ending
};

// Converts the clipboard's text from the source to the target font; shows exactly one
// message box unless the map load ends the program.
QuickOutcome QuickConvert(FontMap& map, const QuickConversionHost& host);

// The text step: every code through the character rule. Throws Failure for a code
// without an entry (0) and for a text over kMaxChunkLength codes. For a map that reads
// UTF-8 the text is UTF-8, and the limit counts its characters; a character without an
// entry is a Failure too.
std::string ConvertQuickText(std::string_view codes, const FontMap& map);

}  // namespace varnex
