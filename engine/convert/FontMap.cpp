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
    UpdateMarkedValues();
    UpdateGroups();
}

void FontMap::Set(int code, std::string_view codes) {
    if (code < 1 || code > 255) {
        throw Failure(kOverflow, "The code " + std::to_string(code) + " has no map entry.");
    }
    entries_[code].assign(codes);
    pairs_.reset();
    byteKeep_[code] = codes.size() == 1 ? 1 : 0;
    byteValue_[code] = codes.size() == 1 ? static_cast<std::uint8_t>(codes[0]) : 0;
    std::uint64_t packed = 0;
    if (codes.size() <= kPackedCodes) {
        std::memcpy(&packed, codes.data(), codes.size());
        packed |= static_cast<std::uint64_t>(codes.size()) << 56;
    } else {
        packed = static_cast<std::uint64_t>(kEscape) << 56;
    }
    packed_[code] = packed;
    const bool fitsPlanes = codes.size() <= kPlanes;
    lengths_[code] = fitsPlanes ? static_cast<std::uint8_t>(codes.size()) : 0;
    for (std::size_t j = 0; j < kPlanes; ++j) {
        planes_[j][code] = fitsPlanes && j < codes.size() ? static_cast<std::uint8_t>(codes[j]) : 0;
    }
    UpdateMaxLength();
    UpdateMarkedValues();
    UpdateGroups();
}

void FontMap::PreparePairs() {
    if (maxLength_ > kPairCodes || maxLength_ <= 1) {
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
    }
    dropMarker_ = static_cast<std::uint8_t>(std::find(taken.begin(), taken.end(), false) - taken.begin());
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
    maxLength_ = 0;
    for (const auto& entry : entries_) maxLength_ = std::max(maxLength_, entry.size());
}

}  // namespace varnex
