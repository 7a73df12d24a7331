#include "convert/CharacterEntries.h"

#include <cstring>

#include "Failure.h"

namespace varnex {

std::uint64_t PackEntry(std::string_view codes) {
    if (codes.size() > kPackedCodes) return static_cast<std::uint64_t>(kPackedEscape) << 56;
    std::uint64_t packed = 0;
    std::memcpy(&packed, codes.data(), codes.size());
    return packed | static_cast<std::uint64_t>(codes.size()) << 56;
}

void CharacterEntries::Clear() {
    directory_.clear();
    pages_.assign(1, Page{});
    entries_.clear();
    lengthCounts_.fill(0);
    maxLength_ = 0;
}

void CharacterEntries::Set(char32_t character, std::string_view codes) {
    if (character < kFirst || character > kLast) {
        throw Failure(kOverflow, "The character " + std::to_string(character) + " has no map entry.");
    }
    if (directory_.empty()) directory_.assign((kLast >> 6) + 1, 0);
    std::uint16_t& page = directory_[character >> 6];
    if (page == 0) {
        page = static_cast<std::uint16_t>(pages_.size());
        pages_.emplace_back();
    }
    pages_[page][character & 0x3F] = codes.empty() ? 0 : PackEntry(codes);
    const auto found = entries_.find(character);
    if (found != entries_.end()) {
        --lengthCounts_[found->second.size()];
        entries_.erase(found);
    }
    if (!codes.empty()) {
        entries_.emplace(character, codes);
        ++lengthCounts_[codes.size()];
    }
    maxLength_ = 0;
    for (std::size_t length = lengthCounts_.size(); length-- > 0;) {
        if (lengthCounts_[length] != 0) {
            maxLength_ = length;
            break;
        }
    }
}

std::string_view CharacterEntries::Entry(char32_t character) const {
    const auto found = entries_.find(character);
    return found == entries_.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace varnex
