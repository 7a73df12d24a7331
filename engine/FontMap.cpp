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
    for (int group = 0; group < 16; ++group) UpdateGroup(group);
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
    UpdateGroup(code / 16);
}

void FontMap::UpdateGroup(int group) {
    for (int i = 0; i < 16; ++i) {
        const int code = group * 16 + i;
        groups_.values[group][i] = groups_.values[group][i + 16] = byteValue_[code];
        groups_.drops[group][i] = groups_.drops[group][i + 16] = byteKeep_[code] ? 0 : 0xFF;
    }
    groups_.dropGroupCount = 0;
    for (int g = 0; g < 16; ++g) {
        bool anyDrop = false;
        for (int i = 0; i < 16; ++i) anyDrop |= groups_.drops[g][i] != 0;
        if (anyDrop) groups_.groupsWithDrops[groups_.dropGroupCount++] = static_cast<std::uint8_t>(g);
    }
}

void FontMap::UpdateMaxLength() {
    maxLength_ = 0;
    for (const auto& entry : entries_) maxLength_ = std::max(maxLength_, entry.size());
}

}  // namespace varnex
