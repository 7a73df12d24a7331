#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/FontMap.h"
#include "convert/PieceConversion.h"

namespace varnex {

// Text held as code points (a Python str, a UTF-16 or UTF-32 buffer) converted without a
// detour through UTF-8: codes to the code points of their characters, by a map whose target is
// the Unicode font, and code points to codes, by a map whose source is the Unicode font. The
// entries are those the UTF-8 conversion reads, so both give the same text.
class CodePointDecoder {
public:
    // `toUnicode` gives each code the UTF-8 of its characters.
    explicit CodePointDecoder(const FontMap& toUnicode);

    // The most code points one code gives, and whether all of them lie below U+10000.
    std::size_t MaxEntryLength() const { return maxLength_; }
    bool FitsSixteenBits() const { return fitsSixteenBits_; }

    // Writes the code points of `count` codes at `out` (room for the points that Measure
    // counts, count * MaxEntryLength() at most), and writes nothing past them;
    // ORs them into `largest` (which so lies below 0x80, 0x100 or 0x10000 when they all do),
    // and returns how many it wrote. A code without an entry
    // writes nothing and is told with its offset: `first` + its index.
    std::size_t Decode(const std::uint8_t* in, std::size_t count, std::uint8_t* out, char32_t& largest,
                       std::uint64_t first, const DropReport& report) const;
    std::size_t Decode(const std::uint8_t* in, std::size_t count, char16_t* out, char32_t& largest,
                       std::uint64_t first, const DropReport& report) const;
    std::size_t Decode(const std::uint8_t* in, std::size_t count, char32_t* out, char32_t& largest,
                       std::uint64_t first, const DropReport& report) const;

    // What Decode of the same codes gives, without writing it: how many code points, and their
    // OR, so that a caller can make room of the narrowest width that holds them.
    void Measure(const std::uint8_t* in, std::size_t count, std::size_t& points, char32_t& largest) const;

private:
    template <typename Unit>
    std::size_t DecodeInto(const std::uint8_t* in, std::size_t count, Unit* out, char32_t& largest,
                           std::uint64_t first, const DropReport& report) const;

    static constexpr std::uint32_t kNotPlain = 0x80000000;  // no entry, or two code points or more
    std::array<std::uint32_t, 256> plain_{};                // the code point, or kNotPlain
    std::array<std::u32string, 256> entries_;
    std::size_t maxLength_ = 1;
    bool fitsSixteenBits_ = true;
    // For the vector loop to 16 bits: each plain code's point split into its two bytes; the
    // other codes read the high byte of a surrogate, which no character's point has.
    static constexpr std::uint8_t kStopHigh = 0xD8;
    std::array<std::uint8_t, 256> lowBytes_{}, highBytes_{};
    bool widens_ = false;  // every plain point fits 16 bits and none is a surrogate
};

class CodePointEncoder {
public:
    // `fromUnicode` reads UTF-8: its entries are those of the characters.
    explicit CodePointEncoder(const FontMap& fromUnicode);

    std::size_t MaxEntryLength() const { return map_.MaxEntryLength() > 1 ? map_.MaxEntryLength() : 1; }

    // Writes the codes of `count` code points at `out` (room for count * MaxEntryLength()) and
    // returns how many it wrote. A character without an entry (and a surrogate) writes nothing
    // and is told with its offset: `first` + its index. U+FEFF is a character like the others
    // here: text held as code points has no byte order mark.
    template <typename Unit>
    std::size_t Encode(const Unit* in, std::size_t count, std::uint8_t* out, std::uint64_t first,
                       const DropReport& report) const;

private:
    static constexpr std::uint16_t kNone = 0, kSingle = 0x100, kSeveral = 0x200;
    const FontMap& map_;
    std::vector<std::uint16_t> plane_;  // U+0000..U+FFFF: kSingle | code, kSeveral or kNone
};

extern template std::size_t CodePointEncoder::Encode(const std::uint8_t*, std::size_t, std::uint8_t*,
                                                     std::uint64_t, const DropReport&) const;
extern template std::size_t CodePointEncoder::Encode(const char16_t*, std::size_t, std::uint8_t*,
                                                     std::uint64_t, const DropReport&) const;
extern template std::size_t CodePointEncoder::Encode(const char32_t*, std::size_t, std::uint8_t*,
                                                     std::uint64_t, const DropReport&) const;

}  // namespace varnex
