#include "jobs/QuickConvert.h"

#include "Failure.h"
#include "convert/CharacterRule.h"
#include "convert/ConvertChunk.h"
#include "convert/PieceConversion.h"
#include "map/FontNameMatch.h"
#include "text/AsciiText.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

const char kTitle[] = "Varnex 2010";

void Warn(Dialogs& dialogs, const char* text) { dialogs.Show({text, kTitle, MessageIcon::Exclamation}); }

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

Failure TooLong(std::size_t characters) {
    return Failure(kOverflow, "Overflow: the clipboard holds " + std::to_string(characters) +
                                  " characters, more than " + std::to_string(kMaxChunkLength) + ".");
}

std::string ConvertQuickUtf8(std::string_view text, const FontMap& map) {
    if (const std::size_t characters = CharacterCount(text); characters > kMaxChunkLength)
        throw TooLong(characters);
    PieceConversion conversion(map, [](const Dropped& dropped) {
        throw Failure(kSubscriptOutOfRange, "Subscript out of range: " + DescribeDropped(dropped) +
                                                " at byte " + std::to_string(dropped.offset + 1) +
                                                " has no entry.");
    });
    std::string converted(conversion.Capacity(text.size()), '\0');
    converted.resize(conversion.Convert(text, reinterpret_cast<std::uint8_t*>(converted.data())));
    conversion.Finish();
    return converted;
}

}  // namespace

std::string ConvertQuickText(std::string_view codes, const FontMap& map) {
    if (map.ReadsUtf8()) return ConvertQuickUtf8(codes, map);
    if (codes.size() > kMaxChunkLength) {
        throw TooLong(codes.size());
    }
    if (const std::size_t at = FindCodeWithoutEntry(codes); at != std::string_view::npos) {
        throw Failure(kSubscriptOutOfRange, "Subscript out of range: the character at position " +
                                                std::to_string(at + 1) + " has no entry.");
    }
    std::string converted(ConvertedCapacity(map, codes.size()), '\0');
    const std::size_t length = ConvertCodes(map, reinterpret_cast<const std::uint8_t*>(codes.data()),
                                            codes.size(), reinterpret_cast<std::uint8_t*>(converted.data()));
    converted.resize(length);
    return converted;
}

QuickOutcome QuickConvert(FontMap& map, const QuickConversionHost& host) {
    if (host.targetFont == host.sourceFont) {
        Warn(host.dialogs, "Please select a different font for conversion.");
        return QuickOutcome::Warned;
    }
    if (!host.loadFontMap(map)) return QuickOutcome::Abandoned;
    try {
        // Unicode text is taken and given as it is, not through the 8-bit bridge.
        const bool unicodeTarget = IsUnicodeFont(host.targetFont);
        const std::string codes = map.ReadsUtf8() ? host.clipboard.ReadUtf8() : host.clipboard.ReadCodes();
        if (OnlySpaces(codes)) {
            Warn(host.dialogs, "Nothing coppied to the clipboard.");
            return QuickOutcome::Warned;
        }
        const std::string converted = ConvertQuickText(codes, map);
        host.yield();
        // Replaced in one step rather than cleared first, so that a failure cannot leave
        // the clipboard without the user's text.
        if (unicodeTarget) {
            host.clipboard.ReplaceUtf8(converted);
        } else {
            host.clipboard.Replace(converted);
        }
    } catch (const std::exception&) {
        host.dialogs.Show({"Sorry while conversion of coppied data, an error occured. Please try again.",
                           kTitle, MessageIcon::Critical});
        return QuickOutcome::Finished;
    }
    host.dialogs.Show({"The clipboard was converted from font " + UpperCase(host.sourceFont) + " to " +
                           UpperCase(host.targetFont),
                       kTitle, MessageIcon::Information});
    return QuickOutcome::Finished;
}

}  // namespace varnex
