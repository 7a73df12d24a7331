#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "convert/CharacterEntries.h"

namespace varnex {

// The character map of one pair of fonts: for each source code 1..255 the codes that the
// target font writes for the same character (none, one or several). Code 0 has no entry.
//
// Besides the entries themselves the map keeps the layouts that the conversion loops read:
// byte tables (values, keep flags, marked values, 16-bit value-and-drop entries and their
// vpshufb groups) for maps whose entries have at most one code; packed 8-byte
// entries, planes and a pair table for the others. All of them are one code's entry in
// another form, kept in step by Set() and Clear(); the pair table alone is built on request.
//
// The packed forms hold the codes in memory order in a little-endian word.
class FontMap {
public:
    static constexpr int kPackedCodes = varnex::kPackedCodes;
    static constexpr std::uint8_t kEscape = kPackedEscape;

    FontMap();

    void Clear();
    // code must lie in 1..255; codes holds one 8-bit code per character.
    void Set(int code, std::string_view codes);
    std::string_view Entry(int code) const { return entries_[code]; }

    // A map whose source font is the Unicode font reads its text as UTF-8, a character's
    // whole sequence converting as one unit: the characters below U+0080 by the entries of
    // codes 1..127, the others by Characters(). Clear() makes it a map of codes again.
    void ReadUtf8();
    bool ReadsUtf8() const { return readsUtf8_; }
    // character must lie in U+0080..U+10FFFF.
    void SetCharacter(char32_t character, std::string_view codes);
    const CharacterEntries& Characters() const { return characters_; }
    // The entry of any character of a map that reads UTF-8 (none for U+0000).
    std::string_view CharacterEntry(char32_t character) const {
        return character < 0x80 ? Entry(static_cast<int>(character)) : characters_.Entry(character);
    }

    std::size_t MaxEntryLength() const { return maxLength_; }
    bool AllEntriesSingleOrEmpty() const { return maxLength_ <= 1; }

    const std::array<std::uint8_t, 256>& ByteValues() const { return byteValue_; }
    const std::array<std::uint8_t, 256>& ByteKeeps() const { return byteKeep_; }
    const std::array<std::uint64_t, 256>& Packed() const { return packed_; }
    // Every pair of codes (first code in the low byte of the index) with the codes of both
    // entries, as in Packed(). Only for maps with an entry of two or more codes and none of
    // more than kPairCodes, and only once PreparePairs() has built it after the last Set();
    // nullptr otherwise.
    static constexpr int kPairCodes = 3;
    void PreparePairs();
    const std::uint64_t* PairEntries() const { return pairs_ ? pairs_->data() : nullptr; }
    // The byte table in one load per code: the value in the low byte, kDropped when the code
    // has no single-code entry.
    static constexpr std::uint16_t kDropped = 0x100;
    const std::array<std::uint16_t, 256>& ByteEntries() const { return byteEntry_; }

    // For entries of up to kPlanes codes: plane j holds each entry's code j, and
    // EntryLengths() each entry's length (code 0 and longer entries: 0).
    static constexpr int kPlanes = 4;
    const std::uint8_t* Plane(int j) const { return planes_[j].data(); }
    const std::uint8_t* EntryLengths() const { return lengths_.data(); }

    // The byte table with a marker in place of every code that has no single-code entry: a
    // byte that no kept code converts to. One is always free: code 0 is never kept, so at most
    // 255 of the 256 values are taken. It is 0 whenever 0 is free. A vector loop then finds the dropped codes
    // by comparing its results with the marker, without a second lookup.
    const std::array<std::uint8_t, 256>& MarkedValues() const { return markedValue_; }
    std::uint8_t DropMarker() const { return dropMarker_; }
    // Codes 1..127 convert to themselves and the marker is 0: the lower half of the marked
    // table is then the code itself, and a lookup needs only the upper half.
    bool KeepsLowerHalf() const { return keepsLowerHalf_; }

    // The marked table in the form the 32-byte lookup reads: sixteen groups of sixteen codes,
    // each repeated once per 128-bit lane. A lookup of group k with index (code - 16k) hits
    // every group from the code's own half (0..7 or 8..15) up to its own, so each group holds
    // its values XORed with the group below it in the same half, and the XOR of the hits
    // telescopes to the code's own value.
    struct ByteGroups {
        alignas(32) std::uint8_t xorValues[16][32];
    };
    const ByteGroups& Groups() const { return groups_; }

    // For a map that reads UTF-8: the marked values of the characters U+0000..U+07FF, indexed
    // by code point, so that the 64 characters of one lead byte L of a two-byte sequence lie
    // at (L & 0x1F) * 64, indexed by the low six bits of the byte that follows. The marker is
    // DropMarker(), chosen among the values no kept code or character converts to.
    const std::array<std::uint8_t, 0x800>& MarkedTwoByteValues() const { return markedTwoByte_; }
    // The pair of lead bytes (C0 + 2p and C1 + 2p) whose characters have the most single-code
    // entries: where a vector decoder starts, since most texts keep to one pair.
    int BusiestLeadPair() const { return busiestLeadPair_; }
    // The entry of the character whose sequence starts with the byte b followed by the byte
    // n, indexed by b | (n & 0x3F) << 8: the ASCII code b whatever follows it, and for b in
    // C2..DF the two-byte sequence b n. Its one code in the low byte and 1 in the high byte,
    // or 0 for a character without a single-code entry: the plain decoder's table for maps
    // of single codes.
    const std::array<std::uint16_t, 0x4000>& FirstBytesEntries() const { return firstBytesEntries_; }
    // The same characters' entries in packed form (as Packed()), for the plain decoder.
    const std::array<std::uint64_t, 0x800>& PackedTwoByte() const { return packedTwoByte_; }
    // False only in a map that reads UTF-8 whose characters take all 256 values: then there
    // is no marker, and the marked tables must not be used.
    bool MarkerIsFree() const { return markerFree_; }

private:
    void UpdateMaxLength();
    void UpdateMarkedValues();
    void UpdateGroups();
    void UpdateTwoByte(char32_t character, bool markerChanged);

    std::array<std::string, 256> entries_;
    std::array<std::uint8_t, 256> byteValue_{};
    std::array<std::uint8_t, 256> byteKeep_{};
    std::array<std::uint64_t, 256> packed_{};
    std::shared_ptr<const std::array<std::uint64_t, 65536>> pairs_;
    std::array<std::array<std::uint8_t, 256>, kPlanes> planes_{};
    std::array<std::uint8_t, 256> lengths_{};
    std::array<std::uint8_t, 256> markedValue_{};
    std::array<std::uint16_t, 256> byteEntry_{};
    std::uint8_t dropMarker_ = 0;
    bool keepsLowerHalf_ = false;
    ByteGroups groups_{};
    std::size_t maxLength_ = 0;
    bool readsUtf8_ = false;
    bool markerFree_ = true;
    CharacterEntries characters_;
    std::array<std::uint32_t, 256> charactersTaking_{};  // single-code characters per value
    std::array<std::uint8_t, 0x800> markedTwoByte_{};
    std::array<std::uint64_t, 0x800> packedTwoByte_{};
    std::array<std::uint16_t, 0x4000> firstBytesEntries_{};
    std::array<int, 16> leadPairEntries_{};  // single-code characters per pair of lead bytes
    int busiestLeadPair_ = 0;
};

}  // namespace varnex
