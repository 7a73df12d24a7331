// The detector on arbitrary bytes: with the first byte even, on a map of three fonts made of
// the next bytes (a legacy font, another, and the Unicode font), else on a small fixed map.
// It detects, or the map is refused with a Failure; never a crash, and every confidence lies
// between 0 and 1 and they add up to 1.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Failure.h"
#include "detect/Detector.h"

namespace {

using Rows = std::vector<std::vector<varnex::FontTable::Cell>>;

std::string Utf8Cell(char32_t c) {
    std::string bytes;
    if (c < 0x80) return std::to_string(c);
    if (c < 0x800) return std::to_string(0xC0 | (c >> 6)) + "," + std::to_string(0x80 | (c & 0x3F));
    return std::to_string(0xE0 | (c >> 12)) + "," + std::to_string(0x80 | (c >> 6 & 0x3F)) + "," +
           std::to_string(0x80 | (c & 0x3F));
}

// Rows of three bytes each: the code of the first font, the second's, and a character.
varnex::LoadedMap MapOf(const std::uint8_t*& data, std::size_t& size) {
    Rows rows;
    while (size >= 3 && rows.size() < 64) {
        const char32_t c = 0x20 + static_cast<char32_t>(data[2]) * 37 % 0x2600;
        rows.push_back({std::to_string(data[0]), std::to_string(data[1]), Utf8Cell(c)});
        data += 3;
        size -= 3;
    }
    return {"fuzzed.map", {{"A", "B", "UTF-8"}, rows}};
}

varnex::LoadedMap FixedMap() {
    Rows rows;
    for (char32_t c = 0x410; c < 0x450; ++c)
        rows.push_back({std::to_string(c - 0x410 + 0xC0), std::to_string(0x450 - c + 0x7F), Utf8Cell(c)});
    rows.push_back({"32", "32", "32"});
    return {"fixed.map", {{"A", "B", "UTF-8"}, rows}};
}

void Check(const varnex::Detection& detection) {
    double sum = 0;
    for (const auto& candidate : detection.candidates) {
        if (!(candidate.confidence >= 0 && candidate.confidence <= 1)) std::abort();
        sum += candidate.confidence;
    }
    if (!detection.candidates.empty() && std::fabs(sum - 1) > 1e-6) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool made = data[0] % 2 == 0;
    ++data;
    --size;
    try {
        static const varnex::Detector fixed(FixedMap());
        std::optional<varnex::Detector> own;
        if (made) own.emplace(MapOf(data, size));
        const varnex::Detector& detector = made ? *own : fixed;
        const std::string_view sample(reinterpret_cast<const char*>(data), size);
        Check(detector.Detect(sample));
        Check(detector.Detect(sample, varnex::DetectionDepth::FontOnly));
        (void)detector.ReadsBetterAs(sample, "A");
    } catch (const varnex::Failure&) {
        // a map whose cells the rule refuses
    }
    return 0;
}
