#include "FontMap.h"

#include <algorithm>
#include <cstring>

#include "Failure.h"

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
    UpdateGroups();
}

void FontMap::Set(int code, std::string_view codes) {
    if (code < 1 || code > 255) {
        throw Failure(kOverflow, "The code " + std::to_string(code) + " has no map entry.");
    }
    entries_[code].assign(codes);
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
    UpdateGroups();
}

void FontMap::UpdateGroups() {
    for (int group = 0; group < 16; ++group) {
        const bool firstOfHalf = group % 8 == 0;
        for (int i = 0; i < 16; ++i) {
            const int code = group * 16 + i;
            const std::uint8_t below = firstOfHalf ? 0 : byteValue_[code - 16];
            groups_.xorValues[group][i] = groups_.xorValues[group][i + 16] =
                static_cast<std::uint8_t>(byteValue_[code] ^ below);
        }
    }
    std::memset(groups_.dropBits, 0, sizeof groups_.dropBits);
    for (int code = 0; code < 256; ++code) {
        if (byteKeep_[code]) continue;
        const auto bit = static_cast<std::uint8_t>(1u << ((code >> 4) & 7));
        groups_.dropBits[code >> 7][code & 15] |= bit;
        groups_.dropBits[code >> 7][(code & 15) + 16] |= bit;
    }
}

void FontMap::UpdateMaxLength() {
    maxLength_ = 0;
    for (const auto& entry : entries_) maxLength_ = std::max(maxLength_, entry.size());
}

}  // namespace varnex
