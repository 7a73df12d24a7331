#include "convert/FontMap.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "Failure.h"

static_assert(std::endian::native == std::endian::little, "packed entries hold their codes in memory order");

namespace varnex {

FontMap::FontMap() { Clear(); }

void FontMap::Clear() {
    for (auto& entry : entries_) entry.clear();
    byteValue_.fill(0);
    byteKeep_.fill(0);
    packed_.fill(0);
    for (auto& plane : planes_) plane.fill(0);
    lengths_.fill(0);
    maxLength_ = 0;
    pairs_.reset();
    readsUtf8_ = false;
    characters_.Clear();
    charactersTaking_.fill(0);
    markedTwoByte_.fill(0);
    packedTwoByte_.fill(0);
    firstBytesEntries_.fill(0);
    leadPairEntries_.fill(0);
    busiestLeadPair_ = 0;
    UpdateMarkedValues();
    UpdateGroups();
}

void FontMap::ReadUtf8() {
    readsUtf8_ = true;
    pairs_.reset();
    UpdateTwoByte(0, true);
}

void FontMap::SetCharacter(char32_t character, std::string_view codes) {
    const std::string_view old = characters_.Entry(character);
    if (old.size() == 1) --charactersTaking_[static_cast<std::uint8_t>(old[0])];
    characters_.Set(character, codes);
    if (codes.size() == 1) ++charactersTaking_[static_cast<std::uint8_t>(codes[0])];
    pairs_.reset();
    const std::uint8_t marker = dropMarker_;
    UpdateMaxLength();
    UpdateMarkedValues();
    UpdateGroups();
    UpdateTwoByte(character, marker != dropMarker_);
}

void FontMap::Set(int code, std::string_view codes) {
    if (code < 1 || code > 255) {
        throw Failure(kOverflow, "The code " + std::to_string(code) + " has no map entry.");
    }
    entries_[code].assign(codes);
    pairs_.reset();
    byteKeep_[code] = codes.size() == 1 ? 1 : 0;
    byteValue_[code] = codes.size() == 1 ? static_cast<std::uint8_t>(codes[0]) : 0;
    packed_[code] = PackEntry(codes);
    const bool fitsPlanes = codes.size() <= kPlanes;
    lengths_[code] = fitsPlanes ? static_cast<std::uint8_t>(codes.size()) : 0;
    for (std::size_t j = 0; j < kPlanes; ++j) {
        planes_[j][code] = fitsPlanes && j < codes.size() ? static_cast<std::uint8_t>(codes[j]) : 0;
    }
    const std::uint8_t marker = dropMarker_;
    UpdateMaxLength();
    UpdateMarkedValues();
    UpdateGroups();
    UpdateTwoByte(static_cast<char32_t>(code), marker != dropMarker_);
}

void FontMap::PreparePairs() {
    if (maxLength_ > kPairCodes || maxLength_ <= 1 || readsUtf8_) {
        pairs_.reset();
        return;
    }
    auto pairs = std::make_shared<std::array<std::uint64_t, 65536>>();
    for (int first = 0; first < 256; ++first) {
        const std::uint64_t headLength = packed_[first] >> 56;
        const std::uint64_t head = packed_[first] & 0xFFFFFF;
        for (int second = 0; second < 256; ++second) {
            const std::uint64_t tailLength = packed_[second] >> 56;
            const std::uint64_t tail = packed_[second] & 0xFFFFFF;
            (*pairs)[first | second << 8] = head | tail << (8 * headLength) | (headLength + tailLength) << 56;
        }
    }
    pairs_ = std::move(pairs);
}

void FontMap::UpdateMarkedValues() {
    std::array<bool, 256> taken{};
    for (int code = 0; code < 256; ++code) {
        if (byteKeep_[code]) taken[byteValue_[code]] = true;
        if (charactersTaking_[code] != 0) taken[code] = true;
    }
    const auto free = std::find(taken.begin(), taken.end(), false);
    // Only characters can take the last value: codes alone leave one free.
    markerFree_ = free != taken.end();
    dropMarker_ = markerFree_ ? static_cast<std::uint8_t>(free - taken.begin()) : 0;
    keepsLowerHalf_ = dropMarker_ == 0;
    for (int code = 0; code < 256; ++code) {
        markedValue_[code] = byteKeep_[code] ? byteValue_[code] : dropMarker_;
        byteEntry_[code] = byteKeep_[code] ? byteValue_[code] : kDropped;
        if (code >= 1 && code < 128 && !(byteKeep_[code] && byteValue_[code] == code))
            keepsLowerHalf_ = false;
    }
}

void FontMap::UpdateGroups() {
    for (int group = 0; group < 16; ++group) {
        const bool firstOfHalf = group % 8 == 0;
        for (int i = 0; i < 16; ++i) {
            const int code = group * 16 + i;
            const std::uint8_t below = firstOfHalf ? 0 : markedValue_[code - 16];
            groups_.xorValues[group][i] = groups_.xorValues[group][i + 16] =
                static_cast<std::uint8_t>(markedValue_[code] ^ below);
        }
    }
}

void FontMap::UpdateMaxLength() {
    maxLength_ = characters_.MaxEntryLength();
    for (const auto& entry : entries_) maxLength_ = std::max(maxLength_, entry.size());
}

void FontMap::UpdateTwoByte(char32_t character, bool markerChanged) {
    if (!readsUtf8_) return;
    const auto update = [&](char32_t c) {
        const std::string_view codes = CharacterEntry(c);
        const int single = codes.size() == 1 ? 1 : 0;
        if (c >= 0x80) leadPairEntries_[c >> 7] += single - (markedTwoByte_[c] != dropMarker_ ? 1 : 0);
        packedTwoByte_[c] = codes.empty() ? 0 : PackEntry(codes);
        markedTwoByte_[c] = single ? static_cast<std::uint8_t>(codes[0]) : dropMarker_;
        const auto entry =
            static_cast<std::uint16_t>(single ? 0x100 | static_cast<std::uint8_t>(codes[0]) : 0);
        if (c < 0x80) {
            for (std::size_t next = 0; next < 64; ++next) firstBytesEntries_[c | next << 8] = entry;
        } else {
            firstBytesEntries_[(0xC0 | c >> 6) | (c & 0x3F) << 8] = entry;
        }
    };
    if (!markerChanged) {
        if (character < markedTwoByte_.size()) update(character);
    } else {
        leadPairEntries_.fill(0);
        markedTwoByte_.fill(dropMarker_);
        for (char32_t c = 0; c < markedTwoByte_.size(); ++c) update(c);
    }
    busiestLeadPair_ = static_cast<int>(std::max_element(leadPairEntries_.begin(), leadPairEntries_.end()) -
                                        leadPairEntries_.begin());
}

}  // namespace varnex
