#include "jobs/QuickConvert.h"

#include "Failure.h"
#include "convert/CharacterRule.h"
#include "convert/ConvertBuffer.h"
#include "text/AsciiText.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

const char kTitle[] = "Varnex 2010";

void Warn(Dialogs& dialogs, const char* text) { dialogs.Show({text, kTitle, MessageIcon::Exclamation}); }

}  // namespace

std::string ConvertQuickText(std::string_view codes, const FontMap& map) {
    if (codes.size() > kMaxChunkLength) {
        throw Failure(kOverflow, "Overflow: the clipboard holds " + std::to_string(codes.size()) +
                                     " characters, more than " + std::to_string(kMaxChunkLength) + ".");
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
        const std::string codes = host.clipboard.ReadCodes();
        if (OnlySpaces(codes)) {
            Warn(host.dialogs, "Nothing coppied to the clipboard.");
            return QuickOutcome::Warned;
        }
        const std::string converted = ConvertQuickText(codes, map);
        host.yield();
        // Replaced in one step rather than cleared first, so that a failure cannot leave
        // the clipboard without the user's text.
        host.clipboard.Replace(converted);
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
