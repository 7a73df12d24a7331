#pragma once

#include <cstdint>
#include <map>

namespace varnex {

// What a document conversion did, for --report.
struct DocumentTotals {
    std::uint64_t convertedCharacters = 0;
    // Characters of source-font text without a code (already Unicode, say), kept as they were.
    std::map<char32_t, std::uint64_t> withoutCode;
    // Codes of source-font text that have no entry in the target font, left out as in text.
    std::map<int, std::uint64_t> dropped;
    // From the Unicode font: characters that have no entry in the target font, left out.
    std::map<char32_t, std::uint64_t> droppedCharacters;

    std::uint64_t WithoutCodeCount() const {
        std::uint64_t count = 0;
        for (const auto& [character, times] : withoutCode) count += times;
        return count;
    }
    std::uint64_t DroppedCount() const {
        std::uint64_t count = 0;
        for (const auto& [code, times] : dropped) count += times;
        for (const auto& [character, times] : droppedCharacters) count += times;
        return count;
    }
};

}  // namespace varnex
