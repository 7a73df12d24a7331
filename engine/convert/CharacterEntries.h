#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varnex {

// The entries of the characters from U+0080 on, for a map whose source is the Unicode font.
// They are kept in pages of 64, in the packed form of FontMap::Packed() (up to seven codes
// with their number on top, kEscape for longer ones, 0 for no entry): a character's page is
// its code point >> 6, found through a directory, and its place in the page is the low six
// bits of the code point, which the last byte of its UTF-8 form carries.
class CharacterEntries {
public:
    static constexpr char32_t kFirst = 0x80;
    static constexpr char32_t kLast = 0x10FFFF;
    using Page = std::array<std::uint64_t, 64>;

    void Clear();
    // character must lie in kFirst..kLast; codes holds one 8-bit code per character.
    void Set(char32_t character, std::string_view codes);
    std::string_view Entry(char32_t character) const;

    // The page of the characters page * 64 .. page * 64 + 63; every page is readable.
    const Page& PageOf(std::uint32_t page) const { return pages_[directory_.empty() ? 0 : directory_[page]]; }
    std::size_t MaxEntryLength() const { return maxLength_; }

    // Each character with an entry, and its codes, in no particular order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const auto& [character, codes] : entries_) visit(character, std::string_view(codes));
    }

private:
    std::vector<std::uint16_t> directory_;  // page number -> index into pages_; 0 is the empty page
    std::vector<Page> pages_ = std::vector<Page>(1);
    std::unordered_map<char32_t, std::string> entries_;
    std::array<std::size_t, 256> lengthCounts_{};  // entries by their number of codes (1..255)
    std::size_t maxLength_ = 0;
};

// The packed form of an entry: up to seven codes in memory order, their number in the top
// byte; kEscape there for a longer entry, which the reader takes from the entry itself.
inline constexpr std::uint8_t kPackedEscape = 0xFF;
inline constexpr int kPackedCodes = 7;
std::uint64_t PackEntry(std::string_view codes);

}  // namespace varnex
