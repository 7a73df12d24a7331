#include "map/DecodeCodeList.h"

#include <limits>

#include "Failure.h"
#include "text/Utf8Unit.h"

namespace varnex {

namespace {

constexpr std::size_t kMaxPieces = 255;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::optional<long> ParseWholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    constexpr long kLargest = std::numeric_limits<long>::max();
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        // Past the range of long every caller refuses the number anyway; the digits that
        // follow still have to be digits.
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
    }
    return value;
}

std::string DecodeCodeList(std::string_view list) {
    if (list.empty()) throw Failure(kTypeMismatch, "The code list is empty.");
    std::string result;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string_view piece =
            list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (result.size() == kMaxPieces) {
            throw Failure(kOverflow, "The code list " + Quoted(list) + " holds more than 255 codes.");
        }
        const auto value = ParseWholeNumber(piece);
        if (!value) {
            throw Failure(kTypeMismatch, "The code list " + Quoted(list) + " holds " + Quoted(piece) +
                                             ", which is not a whole number.");
        }
        if (*value > 255) {
            throw Failure(kOverflow, "The code list " + Quoted(list) + " holds the code " +
                                         std::string(TrimBlanks(piece)) + ", outside 0 to 255.");
        }
        result.push_back(static_cast<char>(*value));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return result;
}

char32_t DecodeCharacterCell(std::string_view list) {
    const std::string codes = DecodeCodeList(list);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(codes.data());
    const Utf8Unit unit = ReadUtf8Unit(bytes, codes.size());
    if (!unit.wellFormed || unit.length != codes.size() || unit.character == 0) {
        throw Failure(kTypeMismatch, "The code list " + Quoted(list) + " is not one UTF-8 character.");
    }
    return unit.character;
}

}  // namespace varnex
